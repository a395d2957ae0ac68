#include "cli/stats_commands.h"

#include "core/format.h"
#include "core/text_forms.h"
#include "stats/stat_table.h"

#include <chrono>
#include <cstdio>

namespace pelko {

namespace {

int MethodIndexOrThrow(const TStatList& stats, const std::string& code) {
    const int index = stats.IndexOfCode(code);
    if (index < 0)
        throw TCommandError(Format("Неизвестный метод расчета статистики: %s!", code.c_str()));
    return index;
}

void ListMethods(TCliContext& ctx) {
    const TStatList& stats = ctx.reader().Stats();
    for (const int i : stats.ListedMethods(false)) {
        const TStatMethod& m = stats.Items(i);
        std::printf("%s\t%s\t%s\t%s\n", stats.MethodCode(m).c_str(),
                    GroupTag(m.StatClass->GetGroup()),
                    FlagLetters(m.StatClass->GetAllFlags()).c_str(),
                    stats.DisplayName(i, false).c_str());
    }
}

struct TStatsOptions {
    std::string code;
    int draws = 1000;
    int offset = 0;
    bool sorted = false;
    bool prefetch = false;
    int sortColumn = -1;
    bool ascending = false;
    bool descending = false;
    bool decimalComma = false;
};

void ComputeTable(Workspace& ws, const TStatsOptions& o) {
    ws.StatMethod = MethodIndexOrThrow(ws.Stats(), o.code);
    ws.DrawsStatLen = o.draws;
    ws.SetSortedDraws(o.sorted);
    ws.ChangeDrawsOffset(o.offset);
    ws.PrefetchsEnabled = o.prefetch;
    ws.StatTable().DecimalSeparator = o.decimalComma ? ',' : '.';
    ws.ComputeStatTable(true);
}

// The comparison may make a missing prefetch file: then the command writes.
Workspace& TableWorkspace(TCliContext& ctx, const TStatsOptions& o) {
    return o.prefetch ? ctx.ws() : ctx.reader();
}

void PrintTable(TCliContext& ctx, const TStatsOptions& o) {
    Workspace& ws = TableWorkspace(ctx, o);
    ComputeTable(ws, o);
    TStatTable& table = ws.StatTable();
    if (o.sortColumn >= 0) {
        if (o.sortColumn >= STAT_COLUMNS)
            throw TCommandError(
                Format("Некорректное занчение номера столбца сортировки (%d)", o.sortColumn));
        table.SortBy(o.sortColumn, !o.ascending);
    }
    std::string line;
    for (int c = 0; c < STAT_COLUMNS; ++c)
        line += (c ? "\t" : "") + std::string(StatColumnTitle(c));
    std::printf("%s\n", line.c_str());
    for (const TStatRow& row : table.Rows()) {
        line.clear();
        for (int c = 0; c < STAT_COLUMNS; ++c)
            line += (c ? "\t" : "") + row.Texts[c];
        std::printf("%s\n", line.c_str());
    }
}

struct TPrefetchOptions {
    bool force = false;
    std::string groups;
    std::string method;
};

TStatGroups ParseGroups(const std::string& text) {
    if (text.empty())
        return 0;
    if (text == "all")
        return ALL_STAT_GROUPS;
    TStatGroups groups = 0;
    TIntArray values;
    if (!ParseNumberList(text, values))
        throw TCommandError("Некорректный список групп: " + text);
    for (const int g : values) {
        if (g < 0 || g >= STAT_GROUPS)
            throw TCommandError(Format("Некорректный номер группы: %d", g));
        groups |= TStatGroups(1u << g);
    }
    return groups;
}

void MakePrefetch(TCliContext& ctx, const TPrefetchOptions& o) {
    Workspace& ws = ctx.ws();
    const auto started = std::chrono::steady_clock::now();
    int created = 0;
    if (!o.method.empty()) {
        const TStatMethod& method = ws.Stats().Items(MethodIndexOrThrow(ws.Stats(), o.method));
        if (!method.StatClass->SupportsCombinations())
            throw TCommandError("Метод не вычисляется для отдельных комбинаций: " + o.method);
        try {
            if (o.force) {
                ws.Prefetch().CreatePrefetch(method, &ctx.host());
                created = 1;
            } else {
                std::string error;
                if (!ws.Prefetch().OpenPrefetch(method, &ctx.host(), &error))
                    throw TCommandError(error);
            }
        } catch (const TCommandError&) {
            throw;
        } catch (const std::exception& e) {
            throw TCommandError(e.what());
        }
    } else {
        ws.PrefetchsEnabled = true;
        created = ws.CreateAllPrefetchs(o.force, ParseGroups(o.groups)).Created;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%d\t%.2f s\n", created, seconds);
}

struct TFilterOptions {
    TStatsOptions table;
    std::string select;
    bool exclude = false;
    std::string from;
    std::string out;
};

void Filter(TCliContext& ctx, const TFilterOptions& o) {
    Workspace& ws = TableWorkspace(ctx, o.table);
    TCombLists& combs = ws.Combs();
    combs.ReserveAll();
    if (o.from.empty())
        combs.GenerateCombs(true, TGenerateParams{});
    else if (!combs.OpenCombsFile(o.from))
        return;
    ComputeTable(ws, o.table);
    const auto wanted = SplitWords(o.select, ";");
    std::vector<std::string> captions;
    for (const auto& w : wanted)
        captions.emplace_back(TrimText(w));
    if (ws.StatTable().SelectByCaptions(captions) == 0)
        throw TCommandError("В таблице статистики нет выбранных значений: " + o.select);
    ws.StatFilterFromTable(o.exclude);
    if (ctx.host().ErrorCount() > 0)
        return;
    std::printf("%zu\n", combs.List.Count());
    if (!o.out.empty())
        combs.SaveCombsFile(o.out);
}

void AddTableOptions(CLI::App* cmd, TStatsOptions& o) {
    cmd->add_option("CODE", o.code, "Method code (see `methods`)")->required();
    cmd->add_option("--draws", o.draws, "Number of draws N")->check(CLI::PositiveNumber);
    cmd->add_option("--offset", o.offset, "Draws offset K")->check(CLI::NonNegativeNumber);
    cmd->add_flag("--sorted", o.sorted, "Numbers of every draw in ascending order");
    cmd->add_flag("--prefetch", o.prefetch, "Compare with the full set of combinations");
    cmd->add_flag("--decimal-comma", o.decimalComma, "\",\" as the decimal separator");
}

} // namespace

void AddStatsCommands(CLI::App& app, TCliContext& ctx) {
    app.add_subcommand("methods", "List the statistic methods")->callback([&ctx] {
        ListMethods(ctx);
    });

    static TStatsOptions stats;
    auto* statsCmd = app.add_subcommand("stats", "The statistics table as tab-separated text");
    AddTableOptions(statsCmd, stats);
    statsCmd->add_option("--sort", stats.sortColumn, "Sort column 0..19");
    auto* asc = statsCmd->add_flag("--asc", stats.ascending, "Sort ascending");
    statsCmd->add_flag("--desc", stats.descending, "Sort descending (default)")->excludes(asc);
    statsCmd->callback([&ctx] { PrintTable(ctx, stats); });

    static TPrefetchOptions prefetch;
    auto* prefetchCmd = app.add_subcommand("prefetch", "Make the prefetch files");
    prefetchCmd->add_flag("--force", prefetch.force, "Remake existing files");
    prefetchCmd->add_option("--groups", prefetch.groups, "Groups to remake: \"0,3,12\" or all");
    prefetchCmd->add_option("--method", prefetch.method, "Only this method");
    prefetchCmd->callback([&ctx] { MakePrefetch(ctx, prefetch); });

    static TFilterOptions filter;
    auto* filterCmd = app.add_subcommand("filter", "Filter a combination list by table rows");
    AddTableOptions(filterCmd, filter.table);
    filterCmd->add_option("--select", filter.select, "Row captions separated by \";\"")->required();
    filterCmd->add_flag("--exclude", filter.exclude, "Drop the combinations instead of keeping");
    filterCmd->add_option("--from", filter.from, "Start from this .lcv file (default: all)");
    filterCmd->add_option("--out", filter.out, "Write the result to this .lcv file");
    filterCmd->callback([&ctx] { Filter(ctx, filter); });
}

} // namespace pelko
