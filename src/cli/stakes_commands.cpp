#include "cli/stakes_commands.h"

#include "cli/ratings_graph_command.h"

#include "app/stakes_workspace.h"
#include "core/atomic_file.h"
#include "core/format.h"
#include "core/text_forms.h"
#include "stakes/rating_view.h"
#include "stakes/stake_grid.h"
#include "stakes/stake_making.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace pelko {

namespace {

// The desk over the command's workspace, started (file opened and locked, ratings and
// regulars loaded); none when the start failed (its message is shown and counted, so the
// command ends with exit code 1). A reader's desk opens the file for reading only.
TStakesDesk* OpenDesk(TCliContext& ctx, bool write = true) {
    Workspace& ws = write ? ctx.ws() : ctx.reader();
    return ws.StartStakes() ? &ws.Stakes() : nullptr;
}

std::size_t DisplayWidth(const std::string& s) {
    std::size_t n = 0;
    for (const unsigned char c : s)
        n += (c & 0xC0) != 0x80;
    return n;
}

// Rows as tab-separated fields, or padded to the given widths (0: not padded).
class TTablePrinter {
  public:
    TTablePrinter(bool tsv, std::vector<int> widths, std::vector<bool> right)
        : tsv_(tsv), widths_(std::move(widths)), right_(std::move(right)) {}

    void Row(const std::vector<std::string>& cells) const {
        std::string line;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (tsv_) {
                line += (i ? "\t" : "") + cells[i];
                continue;
            }
            if (i) line += "  ";
            const std::size_t w = i < widths_.size() ? static_cast<std::size_t>(widths_[i]) : 0;
            const std::size_t pad = w > DisplayWidth(cells[i]) ? w - DisplayWidth(cells[i]) : 0;
            const bool right = i < right_.size() && right_[i];
            const bool last = i + 1 == cells.size();
            line += right ? std::string(pad, ' ') + cells[i]
                          : cells[i] + (last ? "" : std::string(pad, ' '));
        }
        if (!tsv_) line.erase(line.find_last_not_of(' ') + 1); // separator rows print empty
        std::printf("%s\n", line.c_str());
    }

  private:
    bool tsv_;
    std::vector<int> widths_;
    std::vector<bool> right_;
};

void ListStakes(TCliContext& ctx, bool tsv) {
    auto desk = OpenDesk(ctx, false);
    if (!desk) return;
    std::vector<std::string> header;
    for (int c = 0; c < scolCount; ++c)
        header.push_back(StakeColumnCaption(c));
    const TTablePrinter printer(tsv, {8, 10, 17, 8, 17, 10, 14, 10, 0},
                                {false, false, false, true, false, true, false, true, false});
    printer.Row(header);
    if (!desk->IsOpen()) return; // a folder without stakes
    ForEachStakeRecord(desk->File(), 0, [&](std::int64_t, const char* raw) {
        const TStakeData stake = DecodeStakeRecord(raw);
        std::vector<std::string> cells;
        for (int c = 0; c < scolCount; ++c)
            cells.push_back(StakeCellText(stake, c));
        printer.Row(cells);
        return true;
    });
}

std::string CutToCharacters(const std::string& text, std::size_t max) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && chars++ == max)
            return text.substr(0, i);
    return text;
}

struct TAddOptions {
    std::string numbers;
    int draw = 0;
    int draws = 1;
    std::string comment = MANUAL_STAKE_COMMENT;
};

void AddStake(TCliContext& ctx, const TAddOptions& o) {
    const std::string comment = CutToCharacters(o.comment, STAKE_DIALOG_COMMENT_MAX);
    if (const auto error = ValidateStakeDialog(o.numbers, comment)) throw TCommandError(*error);
    auto desk = OpenDesk(ctx);
    if (!desk) return;
    TStakeData stake = desk->NewStake(0); // no combination list on the command line
    if (o.draw > 0) stake.DrawNumber = o.draw;
    stake.SetCommentText(comment);
    SetStakeNumbers(stake, *ParseStakeNumbers(o.numbers), ctx.ws().Config());
    desk->AddStake(stake, o.draws);
}

void CheckStakes(TCliContext& ctx) {
    auto desk = OpenDesk(ctx);
    if (!desk) return;
    std::printf("%lld\n", static_cast<long long>(desk->CheckStakesAndSave()));
}

void DeleteStakes(TCliContext& ctx, const std::string& condition, bool all) {
    if (all == !condition.empty())
        throw TCommandError("Укажите либо --matches УСЛОВИЕ, либо --all");
    std::optional<std::pair<TStakeCondition, int>> parsed;
    if (!all && !(parsed = ParseStakeCondition(condition)))
        throw TCommandError(
            Format("Некорректное условие: \"%s\"! (=N, >N, >=N, <N, <=N; N от 0 до 6)",
                   condition.c_str()));
    auto desk = OpenDesk(ctx);
    if (!desk) return;
    if (all)
        desk->ClearStakes();
    else
        desk->DeleteStakesByCondition(parsed->first, parsed->second);
}

int RatingColumnByName(const std::string& name) {
    int index = 0;
    if (TryStrToInt(name, index) && index >= 0 && index < rcColumnCount) return index;
    for (int c = 0; c < rcColumnCount; ++c)
        if (name == RatingColumnCaption(c)) return c;
    throw TCommandError(Format("Неизвестная колонка рейтинга: \"%s\"!", name.c_str()));
}

struct TRatingsListOptions {
    std::string sort;
    bool ascending = false;
    bool tsv = false;
    int mode = emAbsolute;
};

void ListRatings(TCliContext& ctx, const TRatingsListOptions& o) {
    auto desk = OpenDesk(ctx, false);
    if (!desk) return;
    desk->Options.EffMode = o.mode;
    if (!o.sort.empty() || o.ascending)
        desk->Ratings().Sort(o.sort.empty() ? rcAverage : RatingColumnByName(o.sort), !o.ascending);
    std::vector<std::string> header;
    std::vector<int> widths;
    std::vector<bool> right;
    for (int c = 0; c < rcColumnCount; ++c) {
        header.push_back(RatingColumnCaption(c));
        widths.push_back(c == rcComment ? 30 : c >= rcExpected0 ? 9 : c >= rcHits0 ? 4 : 10);
        right.push_back(c != rcComment);
    }
    const TTablePrinter printer(o.tsv, widths, right);
    printer.Row(header);
    for (const TRatingData& row : desk->Ratings().Rows().Rows()) {
        std::vector<std::string> cells;
        for (int c = 0; c < rcColumnCount; ++c)
            cells.push_back(RatingCellText(row, c, o.mode));
        printer.Row(cells);
    }
}

void ExportRatings(TCliContext& ctx, const std::string& file) {
    auto desk = OpenDesk(ctx, false);
    if (!desk) return;
    // The order the tab starts in; a reader's desk does not save it.
    desk->Ratings().Sort(rcAverage, true);
    try {
        WriteFileAtomically(file, RatingsToText(desk->Ratings().Rows().Rows(), emAbsolute));
    } catch (const std::exception& e) {
        throw TCommandError(Format("Ошибка записи в файл \"%s\"!\n\n%s", file.c_str(), e.what()));
    }
}

void ListRegulars(TCliContext& ctx) {
    auto desk = OpenDesk(ctx, false);
    if (!desk) return;
    const TTablePrinter printer(false, {24, 20, 4, 20, 6}, {false, false, true, false, true});
    std::vector<std::string> header;
    for (int c = 0; c < TABLE_COLUMN_COUNT; ++c)
        header.push_back(TableColumnCaption(c));
    printer.Row(header);
    for (const TTableData& rule : desk->Regulars().Tables()) {
        std::vector<std::string> cells;
        for (int c = 0; c < TABLE_COLUMN_COUNT; ++c)
            cells.push_back(TableCellText(rule, c));
        printer.Row(cells);
    }
}

// 1-based indices of the command line as list positions; none stands for every rule.
std::vector<std::size_t> RuleIndices(const TRegularsDesk& regulars, const std::vector<int>& given) {
    const std::size_t count = regulars.Tables().size();
    if (count == 0) throw TCommandError("Список регулярных ставок пуст!");
    std::vector<std::size_t> indices;
    for (const int i : given) {
        if (i < 1 || static_cast<std::size_t>(i) > count)
            throw TCommandError(Format("Запись со индексом %d в файле данных не найдена!", i));
        indices.push_back(static_cast<std::size_t>(i - 1));
    }
    if (given.empty())
        for (std::size_t i = 0; i < count; ++i)
            indices.push_back(i);
    return indices;
}

struct TRegularAddOptions {
    std::string comment;
    std::string start;
    bool lastDraw = false;
    int step = 1;
};

void AddRegular(TCliContext& ctx, const TRegularAddOptions& o) {
    auto desk = OpenDesk(ctx);
    if (!desk) return;
    if (!o.lastDraw && o.start.empty()) throw TCommandError("Укажите --start или --last-draw!");
    TTableDialogInput input;
    input.Comment = o.comment;
    input.Mode = o.lastDraw ? tmLastDraw : tmConstant;
    input.StartText = o.start;
    input.Step = o.step;
    if (const auto error = desk->Regulars().AddTyped(input)) throw TCommandError(*error);
}

void DeleteRegulars(TCliContext& ctx, const std::vector<int>& given) {
    auto desk = OpenDesk(ctx);
    if (!desk) return;
    if (given.empty()) throw TCommandError("Укажите номера регулярных ставок!");
    desk->Regulars().Delete(RuleIndices(desk->Regulars(), given));
}

void StakeRegular(TCliContext& ctx, int index, int draws) {
    auto desk = OpenDesk(ctx);
    if (!desk) return;
    const std::size_t i = RuleIndices(desk->Regulars(), {index}).front();
    auto prepared = desk->Regulars().PrepareStake(i, 0);
    if (!prepared) return;
    if (desk->Regulars().CommitStake(i, prepared->first, prepared->second, draws))
        std::printf("%d\t%s\n", prepared->second.DrawNumber,
                    NumberSetToText(prepared->second.Numbers, ";").c_str());
}

void TestRegulars(TCliContext& ctx, const std::vector<int>& given, int draws) {
    auto desk = OpenDesk(ctx);
    if (!desk) return;
    const std::vector<std::size_t> indices = RuleIndices(desk->Regulars(), given);
    const int available = static_cast<int>(ctx.ws().Draws().size()) - 1;
    if (draws < 1 || draws > available)
        throw TCommandError(Format("Количество тестов должно быть от 1 до %d!", available));
    desk->Regulars().Test(indices, draws, 0);
}

void ListSystems(TCliContext& ctx) {
    auto desk = OpenDesk(ctx, false);
    if (!desk) return;
    const TTablePrinter printer(false, {20, 6, 5, 6, 0}, {false, true, true, true, true});
    printer.Row({"Файл", "Числа", "Блок", "Номер", "Комбинаций"});
    for (const TLocalSystem& s : ListLocalSystems(desk->Systems().SystemsFolder()))
        printer.Row({s.File.filename().string(), std::to_string(s.Info.nums),
                     std::to_string(s.Info.olap), std::to_string(s.Info.id),
                     std::to_string(s.Info.csize)});
}

} // namespace

void AddStakesCommands(CLI::App& app, TCliContext& ctx) {
    auto* stakes = app.add_subcommand("stakes", "The stakes file");
    stakes->require_subcommand(1);

    auto* list = stakes->add_subcommand("list", "Print the stakes grid");
    static bool listTsv = false;
    list->add_flag("--tsv", listTsv, "Tab-separated fields");
    list->callback([&ctx] { ListStakes(ctx, listTsv); });

    auto* add =
        stakes->add_subcommand("add", "Make a stake (or a series over several draws) and check");
    static TAddOptions addOptions;
    add->add_option("NUMBERS", addOptions.numbers, "6 to 15 numbers separated by \";\" or \",\"")
        ->required();
    add->add_option("--draw", addOptions.draw, "Draw number (default: the next draw)")
        ->check(CLI::PositiveNumber);
    add->add_option("--draws", addOptions.draws, "Consecutive draws (default 1)")
        ->check(CLI::Range(1, MAX_DRAWS_COUNT));
    add->add_option("--comment", addOptions.comment, "Comment (at most 64 characters)");
    add->callback([&ctx] { AddStake(ctx, addOptions); });

    stakes
        ->add_subcommand("check",
                         "Check the stakes against the archive; prints how many were settled")
        ->callback([&ctx] { CheckStakes(ctx); });

    auto* del = stakes->add_subcommand("delete", "Delete stakes by match count, or all of them");
    static std::string condition;
    static bool deleteAll = false;
    del->add_option("--matches", condition, "Condition on the match count: =N, >N, >=N, <N, <=N");
    del->add_flag("--all", deleteAll, "Delete every stake");
    del->callback([&ctx] { DeleteStakes(ctx, condition, deleteAll); });

    auto* ratings = app.add_subcommand("ratings", "The rating of stake comments");
    ratings->require_subcommand(1);
    auto* rlist = ratings->add_subcommand("list", "Print the rating");
    static TRatingsListOptions ratingsOptions;
    rlist->add_option("--sort", ratingsOptions.sort, "Sort column: its number (0..19) or caption");
    rlist->add_flag("--asc", ratingsOptions.ascending, "Ascending (default: descending)");
    rlist->add_flag("--tsv", ratingsOptions.tsv, "Tab-separated fields");
    rlist
        ->add_option("--eff-mode", ratingsOptions.mode,
                     "E0..E6: 0 expected, 1 absolute, 2 relative")
        ->check(CLI::Range(0, 2));
    rlist->callback([&ctx] { ListRatings(ctx, ratingsOptions); });
    ratings->add_subcommand("rebuild", "Rebuild the rating from the stakes file")->callback([&ctx] {
        if (auto desk = OpenDesk(ctx)) desk->Ratings().Refresh();
    });

    auto* rexport = ratings->add_subcommand("export", "Write the rating list to a CSV file");
    static std::string exportFile;
    rexport->add_option("FILE", exportFile, "The file (\";\"-separated, UTF-8)")->required();
    rexport->callback([&ctx] { ExportRatings(ctx, exportFile); });
    AddRatingsGraphCommand(*ratings, ctx);

    auto* regulars = app.add_subcommand("regulars", "Regular stakes");
    regulars->require_subcommand(1);
    regulars->add_subcommand("list", "Print the regular stakes")->callback([&ctx] {
        ListRegulars(ctx);
    });
    auto* radd = regulars->add_subcommand("add", "Add a regular stake");
    static TRegularAddOptions regularAdd;
    radd->add_option("--comment", regularAdd.comment, "Comment (at most 64 characters)")
        ->required();
    auto* start = radd->add_option("--start", regularAdd.start,
                                   "Constant start combination: six numbers separated by \";\"");
    radd->add_flag("--last-draw", regularAdd.lastDraw, "Shift the previous draw's numbers")
        ->excludes(start);
    radd->add_option("--step", regularAdd.step, "Step (default 1)")->check(CLI::Range(-45, 45));
    radd->callback([&ctx] { AddRegular(ctx, regularAdd); });

    auto* rdel = regulars->add_subcommand("delete", "Delete regular stakes by their numbers");
    static std::vector<int> deleteIndices;
    rdel->add_option("INDEX", deleteIndices, "1-based numbers in the list")->required();
    rdel->callback([&ctx] { DeleteRegulars(ctx, deleteIndices); });

    auto* rstake = regulars->add_subcommand("stake", "Make the next stake of a regular stake");
    static int stakeIndex = 0;
    static int stakeDraws = 1;
    rstake->add_option("INDEX", stakeIndex, "1-based number in the list")->required();
    rstake->add_option("--draws", stakeDraws, "Consecutive draws (default 1)")
        ->check(CLI::Range(1, MAX_DRAWS_COUNT));
    rstake->callback([&ctx] { StakeRegular(ctx, stakeIndex, stakeDraws); });

    auto* test = regulars->add_subcommand(
        "test", "Back-test regular stakes (all when no number is given) over the last draws");
    static std::vector<int> testIndices;
    static int testDraws = 10;
    test->add_option("INDEX", testIndices, "1-based numbers in the list");
    test->add_option("--draws", testDraws, "Number of last draws")->required();
    test->callback([&ctx] { TestRegulars(ctx, testIndices, testDraws); });

    auto* systems = app.add_subcommand("systems", "Lottery systems");
    systems->require_subcommand(1);
    systems->add_subcommand("list", "Print the system files of the data folder")->callback([&ctx] {
        ListSystems(ctx);
    });
}

} // namespace pelko
