#include "cli/combs_commands.h"

#include "app/busy_state.h"
#include "app/comb_lists.h"
#include "core/record_helpers.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace pelko {

namespace {

struct TGenOptions {
    std::optional<int> mode;
    std::optional<std::string> params;
    int exclude = 0;
    int offset = 0;
    std::string out;
};

// Generates from the saved parameters, overridden by the options; then excludes the
// recent draws and writes the list when asked. Prints the list count.
void GenerateCombsCommand(TCliContext& ctx, const TGenOptions& o) {
    Workspace& ws = ctx.reader(); // --out is the user's file, not one of the folder
    TGenerateParams params = ws.GenerateParams();
    if (o.mode) params.Mode = static_cast<std::uint8_t>(*o.mode);
    if (o.params) params.Parameters = *o.params;
    TCombLists& combs = ws.Combs();
    combs.ReserveAll();
    // A list that failed to load is not a list to write over the output file.
    if (!combs.GenerateCombs(true, params)) return;
    if (o.exclude > 0) combs.CombsDelExists(o.exclude, ws.Draws(), o.offset);
    if (!o.out.empty()) combs.SaveCombsFile(o.out);
    std::printf("%zu\n", combs.List.Count());
}

// Needs no data folder: the file is read into a list of its own.
void UniqueNumbersCommand(TCliContext& ctx, const std::string& file) {
    TBusyState busy(ctx.host());
    TCombLists lists(ctx.host(), busy);
    if (lists.LoadCombsFile(file)) std::printf("%d\n", CountUniqueNumbers(lists.List));
}

} // namespace

void AddCombsCommands(CLI::App& app, TCliContext& ctx) {
    auto* combs = app.add_subcommand("combs", "The combination list");
    combs->require_subcommand(1);

    auto* gen = combs->add_subcommand(
        "gen", "Generate the combination list (by default from the saved parameters) and print "
               "its count");
    auto genOptions = std::make_shared<TGenOptions>();
    gen->add_option("--mode", genOptions->mode,
                    "0 all, 1 any of my numbers, 2 my numbers only, 3 none of my numbers, "
                    "4 load the file named by --params")
        ->check(CLI::Range(0, 4));
    gen->add_option("--params", genOptions->params, "My numbers (\"1,2;3\") or the file name");
    gen->add_option("--exclude", genOptions->exclude,
                    "Then remove the combinations of the N newest draws of the archive")
        ->check(CLI::NonNegativeNumber);
    gen->add_option("--offset", genOptions->offset,
                    "Hide the K newest draws from --exclude (the analysis point)")
        ->check(CLI::NonNegativeNumber);
    gen->add_option("--out", genOptions->out, "Write the list to this .lcv file");
    gen->callback([&ctx, genOptions] { GenerateCombsCommand(ctx, *genOptions); });

    auto* unique = combs->add_subcommand(
        "unique", "Print how many distinct numbers the combinations of a .lcv file hold");
    auto uniqueFile = std::make_shared<std::string>();
    unique->add_option("FILE", *uniqueFile, "Combinations file (.lcv)")->required();
    unique->callback([&ctx, uniqueFile] { UniqueNumbersCommand(ctx, *uniqueFile); });
}

} // namespace pelko
