#pragma once
// A vertical splitter of a view over its lower pane (the layout's comparison lists, the
// week chart) whose pane height is a window setting: the height is applied once the
// splitter is first laid out and read back from it afterwards.

#include <QSplitter>

namespace pelko {

class TPaneSplitter : public QSplitter {
    Q_OBJECT
  public:
    TPaneSplitter(const QString& name, QWidget* top, QWidget* bottom, int bottomHeight,
                  QWidget* parent = nullptr);

    int BottomHeight() const;
    void SetBottomHeight(int height);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void Place();

    int height_;
    bool placed_ = false;
};

} // namespace pelko
