#include "cli/cli_output.h"

#include "cli/cli_context.h"
#include "core/atomic_file.h"
#include "core/format.h"

#include <cctype>
#include <cmath>
#include <cstdio>

#ifdef PELKO_WITH_CHARTS
#include "charts/graph_chart.h"

#include <QApplication>
#endif

namespace pelko {

bool HasSuffix(const std::string& file, const char* suffix) {
    const std::string s(suffix);
    if (file.size() < s.size()) return false;
    std::string tail = file.substr(file.size() - s.size());
    for (char& c : tail)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == s;
}

std::string ValueText(double value) {
    if (std::nearbyint(value) == value) return std::to_string(static_cast<long long>(value));
    return Format("%.2f", value);
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(";\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

void WriteCsv(const std::string& file, const std::string& csv) {
    if (file.empty()) {
        std::fwrite(csv.data(), 1, csv.size(), stdout);
        return;
    }
    if (!HasSuffix(file, ".csv"))
        throw TCommandError("--out: ожидается файл .csv, а не \"" + file + "\"");
    WriteFileAtomically(file, csv);
}

void WriteGraphPicture(const TGraphData& graph, const std::string& file) {
#ifdef PELKO_WITH_CHARTS
    // Drawn without a screen: the offscreen platform unless the caller chose one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "pelko6x45-cli";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    if (!RenderGraphImage(graph, QString::fromStdString(file)))
        throw TCommandError(Format("Ошибка записи в файл \"%s\"!", file.c_str()));
#else
    (void)graph;
    throw TCommandError("Эта сборка не рисует графики: укажите файл .csv (" + file + ")");
#endif
}

} // namespace pelko
