#pragma once
// The wait window of network work: a text that the operation changes as it goes ("Попытка
// 2, proxy ...") and a "Стоп" button. Modal to its window; the operation keeps running in
// nested event loops meanwhile. The stop flag may be read from any thread.

#include <QDialog>

#include <atomic>
#include <memory>

class QLabel;
class QPushButton;

namespace pelko {

class TFormWait : public QDialog {
    Q_OBJECT
  public:
    explicit TFormWait(QWidget* parent);

    void SetText(const QString& text);
    QString Text() const;
    // The flag the transfers poll: set by "Стоп" (and by RequestStop).
    std::shared_ptr<std::atomic<bool>> StopFlag() const { return stop_; }
    void RequestStop();
    bool StopRequested() const { return stop_->load(); }

    QLabel* lbText = nullptr;
    QPushButton* btStop = nullptr;

  protected:
    void reject() override; // Esc and the window's close box stop as "Стоп" does
    void closeEvent(QCloseEvent* event) override;

  private:
    std::shared_ptr<std::atomic<bool>> stop_ = std::make_shared<std::atomic<bool>>(false);
};

} // namespace pelko
