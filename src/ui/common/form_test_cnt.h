#pragma once
// "Количество тестов": how many of the newest draws a back-test runs over (1 .. max,
// 10 to start with).

#include <QDialog>

class QSpinBox;

namespace pelko {

class TFormTestCnt : public QDialog {
    Q_OBJECT
  public:
    static constexpr int DEFAULT_COUNT = 10;

    explicit TFormTestCnt(int maximum, QWidget* parent = nullptr);

    // The dialog as the back-test opens it: the chosen count, 0 when cancelled.
    static int AskTestCount(QWidget* parent, int maximum);

    QSpinBox* edTestCount = nullptr;
};

} // namespace pelko
