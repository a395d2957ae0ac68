// pelko6x45-cli: the headless front end over the workspace.

#include "cli/analysis_commands.h"
#include "cli/cli_context.h"
#include "cli/combs_commands.h"
#include "cli/config_commands.h"
#include "cli/draws_commands.h"
#include "cli/graph_command.h"
#include "cli/scenario_commands.h"
#include "cli/stats_commands.h"
#include "cli/stakes_commands.h"

#include <CLI/CLI.hpp>

#include <clocale>
#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    using namespace pelko;
    TCliContext ctx;
    CLI::App app{"Pelko 6x45 — the lottery analyser, command line"};
    app.name("pelko6x45-cli");
    app.require_subcommand(1);
    app.add_option("--data-dir", ctx.dataDir, "Data folder (default: $PELKO_DATA_DIR or the user's)");
    app.add_flag("-v,--verbose", ctx.host().verbose, "Print status texts");

    AddDrawsCommands(app, ctx);
    AddConfigCommands(app, ctx);
    AddCombsCommands(app, ctx);
    AddStatsCommands(app, ctx);
    AddGraphCommand(app, ctx);
    AddAnalysisCommands(app, ctx);
    AddStakesCommands(app, ctx);
    AddScenarioCommands(app, ctx);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return 2;
    } catch (const TCommandAborted&) {
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Ошибка: %s\n", e.what());
        return 1;
    }
    return ctx.ExitCode();
}
