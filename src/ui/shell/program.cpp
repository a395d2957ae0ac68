#include "ui/shell/program.h"

#include "platform/data_folder.h"
#include "ui/shell/form_main.h"
#include "ui/common/message_boxes.h"
#include "ui/shell/process_wait.h"
#include "ui/shell/signal_close.h"
#include "ui/shell/startup_options.h"
#include "ui/common/ui_icons.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"

#include <QApplication>
#include <QFileInfo>

#include <optional>

namespace pelko {

int RunProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelko_6x45"));
    QApplication::setWindowIcon(ApplicationIcon());
    const TStartupOptions options = TStartupOptions::Parse(QApplication::arguments());

    // No person at the screen: every box takes its default answer (its text still goes to
    // the standard error stream).
    TUnattendedSeams unattended;
    if (qEnvironmentVariableIntValue("PELKO_UNATTENDED") != 0) TUiSeams::Install(&unattended);

    TSignalClose signalClose;
    if (options.Restart() &&
        !WaitForOtherInstances(QFileInfo(QApplication::applicationFilePath()).fileName()))
        return 1;

    std::filesystem::path dataFolder;
    try {
        std::optional<std::filesystem::path> explicitDir;
        if (!options.DataDir.isEmpty()) explicitDir = PathOf(options.DataDir);
        dataFolder = ResolveDataFolder(explicitDir, ExecutableDir());
    } catch (const std::exception& e) {
        ErrorBox(nullptr, QStringLiteral("Ошибка запуска программы!\n\n") + QStr(e.what()));
        return 1;
    }

    TFormMain window(options, dataFolder);
    // A signal during the boxes of the window's creation: the window never runs.
    if (Terminating()) return window.ExitCode();
    window.show();
    const int code = QApplication::exec();
    // A signal ends the event loop once the work under it has returned; the window closes
    // now, saving its settings, without asking anything.
    if (window.isVisible()) window.close();
    return window.ExitCode() != 0 ? window.ExitCode() : code;
}

} // namespace pelko
