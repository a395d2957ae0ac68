#include "cli/config_commands.h"

#include "core/format.h"
#include "core/segments.h"

#include <cstdio>

namespace pelko {

namespace {

void ShowConfig(TCliContext& ctx) {
    Workspace& ws = ctx.reader();
    const TConfigData& c = ws.Config();
    std::printf("DataFolder=%s\n", ws.DataFolder().string().c_str());
    std::printf("Draws=%zu\n", ws.Draws().size());
    std::printf("MatrixCols=%d\n", c.MatrixCols);
    std::printf("MatrixRows=%d\n", c.MatrixRows());
    std::printf("ChannelSize=%d\n", c.ChannelSize);
    std::printf("MatrixSegments=%s\n", SegmentsToText(c.Segments).c_str());
    std::printf("Cost=%.2f\n", MoneyToDouble(c.Cost));
    std::printf("MaxStake=%d\n", c.MaxStake);
    std::printf("Profits=%zu\n", c.Profits.size());
    for (std::size_t i = 0; i < c.Profits.size(); ++i)
        std::printf("Profit_%zu=%d=%.2f\n", i, c.Profits[i].Matches,
                    MoneyToDouble(c.Profits[i].Prize));
    std::printf("CDL.Count=%.3Lf\n", c.CDL.Count);
    std::printf("CDL.Deviation=%.3Lf\n", c.CDL.Deviation);
    std::printf("CDL.Level=%.3Lf\n", c.CDL.Level);
    std::printf("CDL.UsePercents=%d\n", c.CDL.UsePercents ? 1 : 0);
    std::printf("CDL.UseAbsValues=%d\n", c.CDL.UseAbsValues ? 1 : 0);
    const TShreddingFormulas& s = ws.Shredding();
    for (int i = 0; i < SHREDDING_FORMULAS; ++i)
        std::printf("Formula%d=%s (%d)\n", i + 1, s.Formula[i].c_str(), s.Digits[i]);
    const TGenerateParams& g = ws.GenerateParams();
    std::printf("CombsGenerateMode=%d\n", g.Mode);
    std::printf("CombsGenerateParameters=%s\n", g.Parameters.c_str());
}

} // namespace

void AddConfigCommands(CLI::App& app, TCliContext& ctx) {
    auto* config = app.add_subcommand("config", "Lottery parameters");
    config->require_subcommand(1);
    config->add_subcommand("show", "Print the parameters of the data folder")->callback([&ctx] {
        ShowConfig(ctx);
    });
}

} // namespace pelko
