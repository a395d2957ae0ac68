#include "cli/analysis_commands.h"

#include "cli/cli_output.h"
#include "core/format.h"
#include "stats/analysis/draw_card.h"
#include "stats/analysis/draw_layout.h"
#include "stats/analysis/repeats_analysis.h"
#include "stats/analysis/sum_distribution.h"
#include "stats/analysis/week_stats.h"

#include <climits>
#include <string>

namespace pelko {
namespace {

struct TRepeatsOptions {
    int len = 0;
    int deep = 0;
    std::string out;
};

struct TWindowOptions {
    int len = 0;
    int offset = 0;
    std::string out;
};

// The header's number columns ";1;2;...;45".
std::string NumberColumns() {
    std::string text;
    for (int n = 1; n <= LOTTO_MAX; ++n)
        text += ";" + std::to_string(n);
    return text;
}

void Repeats(TCliContext& ctx, const TRepeatsOptions& o) {
    const TRepeatsAnalysis repeats = AnalyzeRepeats(LoadedArchive(ctx).Draws(), o.len, o.deep);
    std::string csv = "Тираж;Совпадений;Кол-во повторов;Список тиражей\n";
    for (const TRepeatRow& row : repeats.Rows)
        csv += Format("%d;%d;%d;", row.DrawNumber, row.Matches, row.Count) +
               CsvField(RepeatDrawsText(row)) + "\n";
    WriteCsv(o.out, csv);
}

void Sums(TCliContext& ctx, const std::string& out) {
    const TSumDistribution sums = ComputeSumDistribution(LoadedArchive(ctx).Draws());
    std::string csv = "Сумма;Комбинаций;Тиражей\n";
    for (const TStatSimple& s : sums.Combinations)
        csv += Format("%d;%d;%d\n", s.Key, s.Count, sums.DrawsWithSum(s.Key));
    WriteCsv(out, csv);
}

void Card(TCliContext& ctx, const std::string& out) {
    const TDrawCard card(LoadedArchive(ctx).Draws());
    std::string csv = "Тираж" + NumberColumns() + "\n";
    for (int row = 0; row < card.Rows(); ++row) {
        csv += std::to_string(card.DrawNumber(row));
        for (int n = 1; n <= LOTTO_MAX; ++n)
            csv += card.Has(row, n) ? ";" + std::to_string(n) : std::string(";");
        csv += "\n";
    }
    WriteCsv(out, csv);
}

void Layout(TCliContext& ctx, const TWindowOptions& o) {
    const TDrawsArray& draws = LoadedArchive(ctx).Draws();
    CheckDrawsOffset(draws, o.offset);
    const TLayoutMap map = MakeLayoutMap(draws, o.offset, o.len);
    std::string csv = "Кол-во";
    for (const std::int32_t draw : map.LastDraws)
        csv += ";" + std::to_string(draw);
    csv += "\n";
    for (std::size_t row = 0; row < map.Counts.size(); ++row) {
        csv += std::to_string(map.Counts[row]);
        for (const std::string& cell : map.Cells[row])
            csv += ";" + CsvField(cell);
        csv += "\n";
    }
    WriteCsv(o.out, csv);
}

void Week(TCliContext& ctx, const TWindowOptions& o) {
    static const char* const days[7] = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};
    const TDrawsArray& draws = LoadedArchive(ctx).Draws();
    CheckDrawsOffset(draws, o.offset);
    const TWeekCounts week = ComputeWeekCounts(draws, o.offset, o.len);
    std::string csv = "День" + NumberColumns() + "\n";
    for (int day = 1; day <= 7; ++day) {
        csv += days[day - 1];
        for (int n = 1; n <= LOTTO_MAX; ++n) {
            const std::int32_t count = week.At(n, day);
            csv += count ? ";" + std::to_string(count) : std::string(";");
        }
        csv += "\n";
    }
    WriteCsv(o.out, csv);
}

void AddOut(CLI::App* cmd, std::string& out) {
    cmd->add_option("--out", out, "Write to FILE.csv (default: the standard output)");
}

void AddWindowOptions(CLI::App* cmd, TWindowOptions& o, int len) {
    o.len = len;
    cmd->add_option("--len", o.len, "Number of draws N up to the analysis point")
        ->check(CLI::Range(1, INT_MAX));
    cmd->add_option("--offset", o.offset, "Draws offset K")->check(CLI::Range(0, INT_MAX));
    AddOut(cmd, o.out);
}

} // namespace

Workspace& LoadedArchive(TCliContext& ctx) {
    Workspace& ws = ctx.reader();
    if (ws.DrawsLoadFailed()) throw TCommandAborted();
    return ws;
}

void CheckDrawsOffset(const TDrawsArray& draws, int offset) {
    if (draws.empty()) throw TCommandError("Архив тиражей пуст!");
    const int last = static_cast<int>(draws.size()) - 1;
    if (offset < 0 || offset > last)
        throw TCommandError(Format("Смещение %d вне архива: допускается 0..%d", offset, last));
}

void AddAnalysisCommands(CLI::App& app, TCliContext& ctx) {
    auto* analysis = app.add_subcommand("analysis", "The tables of the analysis views as CSV");
    analysis->require_subcommand(1);

    static TRepeatsOptions repeats;
    auto* repeatsCmd = analysis->add_subcommand("repeats", "Earlier draws sharing numbers");
    repeatsCmd->add_option("--len", repeats.len, "Newest draws analysed")
        ->required()
        ->check(CLI::Range(1, INT_MAX));
    repeatsCmd->add_option("--deep", repeats.deep, "Earlier draws compared with each")
        ->required()
        ->check(CLI::Range(1, INT_MAX));
    AddOut(repeatsCmd, repeats.out);
    repeatsCmd->callback([&ctx] { Repeats(ctx, repeats); });

    static std::string sumsOut;
    auto* sumsCmd = analysis->add_subcommand("sums", "Combinations and draws by sum");
    AddOut(sumsCmd, sumsOut);
    sumsCmd->callback([&ctx] { Sums(ctx, sumsOut); });

    static std::string cardOut;
    auto* cardCmd = analysis->add_subcommand("card", "The card of draws, newest first");
    AddOut(cardCmd, cardOut);
    cardCmd->callback([&ctx] { Card(ctx, cardOut); });

    static TWindowOptions layout;
    auto* layoutCmd = analysis->add_subcommand("layout", "The map of counts and last draws");
    AddWindowOptions(layoutCmd, layout, 100);
    layoutCmd->callback([&ctx] { Layout(ctx, layout); });

    static TWindowOptions week;
    auto* weekCmd = analysis->add_subcommand("week", "Numbers by day of the week");
    AddWindowOptions(weekCmd, week, 1000);
    weekCmd->callback([&ctx] { Week(ctx, week); });
}

} // namespace pelko
