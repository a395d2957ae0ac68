#include "ui/ui_test_support.h"

#include "core/config.h"
#include "core/draw_archive.h"
#include "platform/data_folder.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace pelko::uitest {

TScriptedSeams::TScriptedSeams() {
    TUiSeams::Install(this);
}

TScriptedSeams::~TScriptedSeams() {
    TUiSeams::Install(nullptr);
}

QMessageBox::StandardButton TScriptedSeams::MessageBox(QWidget*, QMessageBox::Icon,
                                                       const QString& caption, const QString& text,
                                                       QMessageBox::StandardButtons,
                                                       QMessageBox::StandardButton defaultButton) {
    Boxes.append({caption, text, defaultButton});
    if (!Answers.isEmpty()) return Answers.takeFirst();
    return defaultButton == QMessageBox::NoButton ? QMessageBox::Ok : defaultButton;
}

QString TScriptedSeams::OpenFileName(QWidget*, const QString&, const QString&) {
    return FileNames.isEmpty() ? QString() : FileNames.takeFirst();
}

QString TScriptedSeams::SaveFileName(QWidget*, const QString&, const QString&, const QString&) {
    return FileNames.isEmpty() ? QString() : FileNames.takeFirst();
}

int TScriptedSeams::ExecDialog(QDialog& dialog) {
    return OnDialog ? OnDialog(dialog) : int(QDialog::Rejected);
}

void TScriptedSeams::OpenUrl(const QUrl& url) {
    OpenedUrls.append(url);
}

TDrawData MakeDraw(int number, std::initializer_list<int> numbers) {
    TDrawData draw;
    draw.Number = number;
    int i = 0;
    for (int n : numbers)
        draw.Nums[i++] = static_cast<std::uint8_t>(n);
    char date[32];
    std::snprintf(date, sizeof date, "%02d.01.2024 21:00", (number % 28) + 1);
    draw.SetDateText(date);
    return draw;
}

TDrawsArray MakeDraws(int count) {
    TDrawsArray draws;
    for (int i = 1; i <= count; ++i) {
        const int base = (i * 7) % 39; // six consecutive numbers from base + 1
        draws.push_back(MakeDraw(i, {base + 6, base + 1, base + 4, base + 2, base + 5, base + 3}));
    }
    return draws;
}

void WriteArchive(const std::filesystem::path& folder, const TDrawsArray& draws) {
    WriteDrawsFile(folder / DRAWS_FILE_NAME, draws);
}

void WriteGenerateParams(const std::filesystem::path& folder, int mode,
                         const std::string& parameters) {
    TGenerateParams params;
    params.Mode = static_cast<std::uint8_t>(mode);
    params.Parameters = parameters;
    SaveGenerateParams(folder / DATA_INI_NAME, params);
}

std::unique_ptr<TFormMain> StartWindow(const std::filesystem::path& folder,
                                       const QStringList& arguments) {
    QStringList all{QStringLiteral("Pelko_6x45")};
    all << arguments;
    auto window = std::make_unique<TFormMain>(TStartupOptions::Parse(all), folder);
    window->show();
    if (!QTest::qWaitFor([&] { return window->StartupDone(); }, 30000)) return nullptr;
    return window;
}

void CloseWindow(std::unique_ptr<TFormMain>& window) {
    window->close();
    window.reset();
}

TTimed TimeWithGaps(const std::function<void()>& operation) {
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    tick.start();
    clock.start();
    operation();
    const qint64 total = clock.nsecsElapsed();
    longest = std::max(longest, total - last);
    tick.stop();
    return {double(total) / 1e6, double(longest) / 1e6};
}

} // namespace pelko::uitest
