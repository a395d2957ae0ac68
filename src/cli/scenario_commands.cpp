#include "cli/scenario_commands.h"

#include "app/scenario_runner.h"
#include "app/script_desk.h"
#include "app/stakes_workspace.h"
#include "core/format.h"
#include "stakes/comment_key.h"
#include "stakes/stake_record.h"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace pelko {

namespace {

struct TRunOptions {
    std::string file;
    int offset = -1;
    int draws = 0;
    bool log = false;
};

void ShowScenario(TCliContext& ctx, const std::string& file) {
    Workspace& ws = ctx.reader();
    if (!file.empty() && !ws.Script().LoadScript(file, false))
        return;
    const TScriptLines& lines = ws.Script().Lines();
    for (std::size_t i = 0; i < lines.Count(); ++i) {
        const TScriptRowTexts cells = ScriptRowTexts(ws.Stats(), lines.Get(i));
        std::string row = Format("%3zu", i + 1);
        for (const std::string& cell : cells)
            row += "\t" + cell;
        std::printf("%s\n", row.c_str());
    }
}

// The workspace ready for a run: stakes file open, the scenario of the file (without
// touching the working one), the offset and the log as asked.
TScenarioRunner* PrepareRun(TCliContext& ctx, const TRunOptions& o, std::unique_ptr<TScenarioRunner>& runner) {
    Workspace& ws = ctx.ws();
    if (!ws.StartStakes())
        return nullptr;
    if (!o.file.empty() && !ws.Script().LoadScript(o.file, false))
        return nullptr;
    if (ws.Script().Count() == 0)
        throw TCommandError("Сценарий пуст.");
    if (ws.Draws().empty())
        throw TCommandError("Архив тиражей пуст.");
    ws.Combs().ReserveAll();
    if (o.offset >= 0)
        ws.ChangeDrawsOffset(o.offset);
    ws.Script().ScriptLogEnabled = o.log;
    runner = std::make_unique<TScenarioRunner>(ws);
    TScenarioRunner* r = runner.get();
    r->OnStatusChanged = [r] {
        std::fprintf(stderr, "\r%s  %s  %s  %s\033[K", r->PanelText(1).c_str(), r->PanelText(2).c_str(),
                     r->PanelText(3).c_str(), r->PanelText(4).c_str());
    };
    r->OnLogFinished = [](const std::filesystem::path& log) {
        std::fprintf(stderr, "\nЖурнал: %s\n", log.string().c_str());
    };
    TCliHost::WatchInterrupt();
    return r;
}

// Stakes made by the run (the last `made` scenario stakes of the file), how many are
// checked, and the rating rows of their comments.
void PrintSummary(Workspace& ws, const TScenarioRunner& runner) {
    std::fprintf(stderr, "\n");
    TStakesDesk& desk = ws.Stakes();
    const int made = runner.ScriptStakesMade();
    int checked = 0;
    std::set<std::string> keys;
    std::vector<std::string> comments;
    int seen = 0;
    for (std::int64_t i = desk.StakesCount() - 1; i >= 0 && seen < made; --i) {
        const TStakeData stake = desk.StakeAt(i);
        if (stake.IsSeparator() || stake.Kind != skScenario)
            continue;
        ++seen;
        checked += stake.IsChecked() ? 1 : 0;
        if (keys.insert(FoldComment(stake.RawComment())).second)
            comments.push_back(stake.CommentText());
    }
    std::printf("Ставок сделано: %d\n", made);
    std::printf("Проверено: %d\n", checked);
    int rows = 0;
    const TRatings& ratings = desk.Ratings().Rows();
    std::vector<std::string> touched;
    for (std::size_t i = 0; i < ratings.Count(); ++i) {
        const TRatingData& row = ratings[i];
        if (keys.count(FoldComment(row.RawComment()))) {
            ++rows;
            touched.push_back(row.CommentText());
        }
    }
    std::printf("Строк рейтинга: %d\n", rows);
    for (const std::string& comment : touched)
        std::printf("  %s\n", comment.c_str());
}

void RunForecast(TCliContext& ctx, const TRunOptions& o) {
    std::unique_ptr<TScenarioRunner> runner;
    TScenarioRunner* r = PrepareRun(ctx, o, runner);
    if (!r)
        return;
    r->ScriptRun();
    PrintSummary(ctx.ws(), *r);
}

void RunTest(TCliContext& ctx, const TRunOptions& o) {
    std::unique_ptr<TScenarioRunner> runner;
    TScenarioRunner* r = PrepareRun(ctx, o, runner);
    if (!r)
        return;
    const int most = static_cast<int>(ctx.ws().Draws().size()) - 1;
    if (o.draws < 1 || o.draws > most)
        throw TCommandError(Format("Количество тестов должно быть от 1 до %d.", most));
    r->ScriptTest(o.draws);
    PrintSummary(ctx.ws(), *r);
}

} // namespace

void AddScenarioCommands(CLI::App& app, TCliContext& ctx) {
    auto* scenario = app.add_subcommand("scenario", "The scenario (working file Pelko_6x45.lss)");
    scenario->require_subcommand(1);

    static std::string showFile;
    auto* show = scenario->add_subcommand("show", "Print the scenario's lines as the list shows them");
    show->add_option("file", showFile, "A scenario file (default: the working scenario)");
    show->callback([&ctx] { ShowScenario(ctx, showFile); });

    static std::string line;
    auto* add = scenario->add_subcommand("add", "Append a line to the working scenario");
    add->add_option("line", line, "The line text")->required();
    add->callback([&ctx] { ctx.ws().Script().AddScriptLine(line); });

    static std::string loadFile;
    static bool append = false;
    auto* load = scenario->add_subcommand("load", "Open a scenario file as the working scenario");
    load->add_option("file", loadFile)->required()->check(CLI::ExistingFile);
    load->add_flag("--append", append, "Append it to the working scenario");
    load->callback([&ctx] {
        Workspace& ws = ctx.ws();
        append ? ws.Script().AppendScript(loadFile) : ws.Script().OpenScript(loadFile);
    });

    static std::string saveFile;
    auto* save = scenario->add_subcommand("save", "Save the working scenario to a file");
    save->add_option("file", saveFile)->required();
    save->callback([&ctx] { ctx.ws().Script().SaveScript(saveFile); });

    static TRunOptions runOptions;
    auto* run = scenario->add_subcommand("run", "Forecast: run the scenario at the draws offset");
    run->add_option("file", runOptions.file, "A scenario file (default: the working scenario)");
    run->add_option("--offset", runOptions.offset, "Draws offset")->check(CLI::NonNegativeNumber);
    run->add_flag("--log", runOptions.log, "Write the run log");
    run->callback([&ctx] { RunForecast(ctx, runOptions); });

    static TRunOptions testOptions;
    auto* test = scenario->add_subcommand("test", "Back-test over the last N draws; stakes are checked and rated");
    test->add_option("file", testOptions.file, "A scenario file (default: the working scenario)");
    test->add_option("--draws", testOptions.draws, "Number of cycles (draws)")->required();
    test->add_flag("--log", testOptions.log, "Write the run log");
    test->callback([&ctx] { RunTest(ctx, testOptions); });
}

} // namespace pelko
