// Every operation that saves, run again and again with one file fault injected: the k-th
// read failing, the k-th write failing (EIO, ENOSPC), or the process killed right after
// the k-th write, for every k the operation reaches. After each run the operation must
// have reported the failure, and every file of the data folder must be its old version or
// its new one, whole; temporary files a kill left are gone after the next start.
//
// Each run is a forked child working on a fresh copy of the prepared folder, so a kill
// is a real kill and no state leaks from one run to the next.

#include "app/scenario_runner.h"
#include "app/script_desk.h"
#include "app/stakes_workspace.h"
#include "app/workspace.h"
#include "core/atomic_file.h"
#include "core/config.h"
#include "core/sys_io.h"
#include "platform/data_folder_lock.h"
#include "stakes/rating_record.h"
#include "stakes/regular_stakes.h"
#include "stakes/stake_record.h"
#include "support/temp_dir.h"
#include "support/test_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

namespace pelko {
namespace {

namespace fs = std::filesystem;
using TFiles = std::map<std::string, std::string>;

TDrawData Draw(int number) {
    TDrawData d;
    d.Number = number;
    const int base = (number * 7) % 30;
    for (int i = 0; i < LOTTO_COUNT; ++i)
        d.Nums[i] = static_cast<std::uint8_t>(base + 1 + i * 2);
    d.SetDateText("01.02.2024 21:00");
    return d;
}

TStakeData Stake(Workspace& ws, int draw, int first) {
    TStakeData s = ws.Stakes().NewStake(7);
    s.DrawNumber = draw;
    const std::uint8_t nums[6] = {std::uint8_t(first), std::uint8_t(first + 2),
                                  std::uint8_t(first + 4), std::uint8_t(first + 6),
                                  std::uint8_t(first + 8), std::uint8_t(first + 10)};
    s.Numbers = MakeNumberSet(nums, 6);
    s.SetCommentText("Проба " + std::to_string(first));
    ws.Stakes().PriceStake(s);
    return s;
}

// The folder every case starts from: ten draws, a price table, three stakes (two of them
// checked and rated), a regular stake, a scenario, a names file and a combinations file.
void PrepareFolder(const fs::path& folder) {
    WriteFileAtomically(folder / "Pelko_6x45.ini",
                        "[STAKES]\r\nCost=100\r\nProfits=2\r\nProfit_0_Overlap=2\r\n"
                        "Profit_0_Profit=150\r\nProfit_1_Overlap=3\r\nProfit_1_Profit=1000\r\n");
    WriteFileAtomically(folder / "Pelko_6x45.flt",
                        "[STRINGS_RUS]\r\nNUMS=Мои числа\r\n[FILTERS]\r\nOrdered=1\r\n");
    WriteFileAtomically(folder / "list.lcv", "1;2;3;4;5;6\r\n");
    test::TTestHost host;
    Workspace ws(host, folder);
    ASSERT_TRUE(ws.Open(false, true));
    for (int n = 1; n <= 10; ++n)
        ws.AddDraw(Draw(n));
    ASSERT_TRUE(ws.Stakes().AddStake(Stake(ws, 9, 1), 2));
    ASSERT_TRUE(ws.Stakes().AddStake(Stake(ws, 11, 3), 2)); // waits for draws 11 and 12
    // A checked stake deleted again: the rating still counts it until it is rebuilt.
    ASSERT_TRUE(ws.Stakes().AddStake(Stake(ws, 10, 20), 1));
    ASSERT_TRUE(ws.Stakes().DeleteStakeRows(ws.Stakes().StakesCount(), ws.Stakes().StakesCount()));
    TTableDialogInput rule;
    rule.Comment = "Константа";
    rule.StartEditable = true;
    rule.StartText = "1;2;3;4;5;6";
    ASSERT_TRUE(ws.Stakes().Regulars().Add(rule, {}));
    ws.Script().AddScriptLine("CURR:0#ALL|");
    ASSERT_TRUE(host.Errors().empty()) << host.Errors().front();
}

struct TSaveCase {
    const char* Name;
    bool WithStakes;
    // A run of many saves (a back-test): a failure part-way keeps the passes before it, as
    // a stop would, so the stakes may be fewer than the new ones and the rating between.
    bool Stepwise;
    std::function<bool(Workspace&, const fs::path& input)> Run;
};

void MakeSmallList(Workspace& ws) {
    ws.Combs().ReserveAll();
    TGenerateParams params;
    params.Mode = 2; // my numbers only: C(7, 6) = 7 combinations
    params.Parameters = "1,2,3,4,5,6,7";
    ws.Combs().GenerateCombs(true, params);
}

const TSaveCase CASES[] = {
    {"DrawsAdd", false, false, [](Workspace& ws, const fs::path&) { return ws.AddDraw(Draw(11)); }},
    {"DrawsImport", false, false,
     [](Workspace& ws, const fs::path& input) { return ws.ImportDrawsCsv(input) == 2; }},
    {"DrawsDelete", false, false, [](Workspace& ws, const fs::path&) { return ws.DeleteDraws({5}); }},
    {"CombsSave", false, false,
     [](Workspace& ws, const fs::path&) {
         MakeSmallList(ws);
         return ws.Combs().SaveCombsFile(ws.DataFile("list.lcv"));
     }},
    {"StakesAdd", true, false,
     [](Workspace& ws, const fs::path&) {
         ws.Stakes().Options.LogEnabled = true; // settled stakes also go to the stake logs
         return ws.Stakes().AddStake(Stake(ws, 8, 5), 3);
     }},
    {"StakesDelete", true, false,
     [](Workspace& ws, const fs::path&) {
         return ws.Stakes().DeleteStakesByCondition(3, 0); // "Менее": every unchecked stake
     }},
    {"StakesCheck", true, false,
     [](Workspace& ws, const fs::path&) {
         ws.Stakes().Options.LogEnabled = true;
         return ws.AddDraw(Draw(11)) && ws.Stakes().CheckStakesAndSave() == 1;
     }},
    {"RatingsRebuild", true, false, [](Workspace& ws, const fs::path&) { return ws.Stakes().Ratings().Refresh(); }},
    {"RegularsAdd", true, false,
     [](Workspace& ws, const fs::path&) {
         TTableDialogInput rule;
         rule.Comment = "Прошлый тираж";
         rule.Mode = tmLastDraw;
         return ws.Stakes().Regulars().Add(rule, {});
     }},
    {"ScenarioEdit", false, false,
     [](Workspace& ws, const fs::path&) {
         return ws.Script().AddScriptLine("CURR:0#EXT|") == 1;
     }},
    {"ScenarioTest", true, true,
     [](Workspace& ws, const fs::path&) {
         MakeSmallList(ws);
         TScenarioRunner runner(ws);
         return runner.ScriptTest(2);
     }},
    {"ConfigSave", false, false,
     [](Workspace& ws, const fs::path&) {
         TConfigData config = ws.Config();
         config.Cost = 2500000;
         return ws.SaveConfig(config);
     }},
    {"GenerateParamsSave", false, false,
     [](Workspace& ws, const fs::path&) {
         TGenerateParams params;
         params.Mode = 1;
         params.Parameters = "7;8";
         return ws.SaveGenerateParams(params);
     }},
    {"ShreddingSave", false, false,
     [](Workspace& ws, const fs::path&) {
         TShreddingFormulas formulas = ws.Shredding();
         formulas.Formula[0] = "(n1+n2)/(n5+n6)";
         ws.ApplyShredding(formulas);
         return true;
     }},
    {"PrefetchCreate", false, false,
     [](Workspace& ws, const fs::path&) {
         try {
             ws.Prefetch().CreatePrefetch(ws.Stats().Items(ws.Stats().IndexOfCode("NUMS")), nullptr);
             return true;
         } catch (const std::exception& e) {
             ws.GetHost().ErrorBox(e.what());
             return false;
         }
     }},
    {"NamesSave", false, false,
     [](Workspace& ws, const fs::path&) {
         ws.Stats().Items(ws.Stats().IndexOfCode("SUMS")).UserCaption = "Суммы";
         ws.RebuildMethods();
         return true;
     }},
};

TFiles Snapshot(const fs::path& folder) {
    TFiles files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        const std::string name = fs::relative(entry.path(), folder).string();
        if (name != DATA_FOLDER_LOCK_NAME) files[name] = ReadWholeFile(entry.path());
    }
    return files;
}

void CopyFolder(const fs::path& from, const fs::path& to) {
    fs::remove_all(to);
    fs::create_directories(to);
    fs::copy(from, to, fs::copy_options::recursive);
}

struct TChildRun {
    bool Exited = false;
    int Code = -1;
    bool Killed = false;
    int Fired = 0, Reads = 0, Writes = 0;
};

// The case in a child process on `folder`, with the plan armed (none: counting only).
TChildRun RunChild(const TSaveCase& c, const fs::path& folder, const fs::path& input,
                   std::optional<TFaultPlan> plan) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        if (plan)
            ArmFault(*plan);
        else
            DisarmFault();
        int code = 1;
        {
            test::TTestHost host;
            Workspace ws(host, folder);
            const bool ok = ws.LockDataFolder(std::chrono::milliseconds(0)) &&
                            ws.Open(false, c.WithStakes) && c.Run(ws, input);
            code = ok && host.Errors().empty() ? 0 : 1;
        }
        const int info[3] = {FaultFired() ? 1 : 0, FaultReadsSeen(), FaultWritesSeen()};
        [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], info, sizeof info);
        ::_exit(code);
    }
    ::close(pipeFds[1]);
    TChildRun run;
    int info[3] = {};
    const bool told = ::read(pipeFds[0], info, sizeof info) == static_cast<ssize_t>(sizeof info);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.Exited = WIFEXITED(status);
    run.Code = run.Exited ? WEXITSTATUS(status) : -1;
    run.Killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (told) {
        run.Fired = info[0];
        run.Reads = info[1];
        run.Writes = info[2];
    }
    return run;
}

bool IsTempName(const std::string& name) {
    const std::string file = fs::path(name).filename().string();
    return (file.size() > 1 && file[0] == '.' && file.find(".tmp") != std::string::npos) ||
           file.ends_with(".~tmp");
}

// Appended text files (the stake logs) may also hold the old text plus whole new lines.
bool IsWholeAppend(const std::string& name, const std::string& oldText, const std::string& now) {
    return name.ends_with(".log") && now.starts_with(oldText) && now.ends_with("\r\n");
}

// The stakes file of a run that appended and then failed in the check is its new version
// with some stakes not yet checked: record by record, the old record, the new one, or the
// new one but for the fields a check fills in.
bool IsStakesBetween(const std::string& oldFile, const std::string& newFile,
                     const std::string& now, bool stepwise) {
    constexpr std::size_t R = STAKE_RECORD_SIZE;
    if (now.size() % R != 0) return false;
    auto uncheckedPart = [](const std::string& record) {
        std::string r = record;
        r[stake_offsets::Checked] = 0;
        std::fill(r.begin() + stake_offsets::DrawResult, r.begin() + stake_offsets::Comment, 0);
        return r;
    };
    auto records = [&](const std::string& file) {
        std::vector<std::string> out;
        for (std::size_t i = 0; i + R <= file.size(); i += R) {
            const std::string r = file.substr(i, R);
            // A stepwise run may lose a separator whose write failed: they only group rows.
            if (!stepwise || !DecodeStakeRecord(r.data()).IsSeparator()) out.push_back(r);
        }
        return out;
    };
    const auto o = records(oldFile), n = records(newFile), c = records(now);
    if (stepwise ? (c.size() < o.size() || c.size() > n.size())
                 : (c.size() != o.size() && c.size() != n.size()))
        return false;
    for (std::size_t i = 0; i < c.size(); ++i) {
        if (i < o.size() && c[i] == o[i]) continue;
        if (c[i] != n[i] && uncheckedPart(c[i]) != uncheckedPart(n[i])) return false;
    }
    return true;
}

bool IsReadableRating(const fs::path& file) {
    try {
        ReadRatingsFile(file);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// Every file is its old or its new version; temporary files only where allowed.
void ExpectOldOrNew(const TFiles& before, const TFiles& after, const TFiles& now,
                    bool tempAllowed, const std::string& run, bool stepwise,
                    const fs::path& folder) {
    for (const auto& [name, content] : now) {
        if (IsTempName(name)) {
            EXPECT_TRUE(tempAllowed) << run << ": leftover " << name;
            continue;
        }
        const auto b = before.find(name);
        const auto a = after.find(name);
        const std::string oldText = b != before.end() ? b->second : "";
        const bool whole = (b != before.end() && content == b->second) ||
                           (a != after.end() && content == a->second) ||
                           IsWholeAppend(name, oldText, content) ||
                           (name == STAKES_FILE_NAME && a != after.end() &&
                            IsStakesBetween(oldText, a->second, content, stepwise)) ||
                           (stepwise && name == RATINGS_FILE_NAME && IsReadableRating(folder / name));
        EXPECT_TRUE(whole) << run << ": " << name << " is neither its old nor its new version ("
                           << content.size() << " bytes; old " << oldText.size() << ", new "
                           << (a != after.end() ? a->second.size() : 0) << ")";
    }
    for (const auto& [name, content] : before)
        if (after.count(name)) {
            EXPECT_TRUE(now.count(name)) << run << ": " << name << " is lost";
        }
}

class FaultSweep : public ::testing::TestWithParam<TSaveCase> {
  protected:
    test::TTempDir dir;
    fs::path prepared = dir.file("prepared"), work = dir.file("work"), input = dir.file("in.csv");

    void SetUp() override {
        if (!FaultInjectionBuilt()) GTEST_SKIP() << "built without fault injection";
        fs::create_directories(prepared);
        DisarmFault();
        PrepareFolder(prepared);
        WriteFileAtomically(input, "11;\"03.02.2024 21:00\";1;2;3;4;5;6\r\n"
                                   "12;\"05.02.2024 21:00\";7;8;9;10;11;12\r\n");
    }
};

TEST_P(FaultSweep, EveryFileStaysOldOrNewAndTheFailureIsReported) {
    const TSaveCase& c = GetParam();
    const TFiles before = Snapshot(prepared);
    CopyFolder(prepared, work);
    const TChildRun clean = RunChild(c, work, input, std::nullopt);
    ASSERT_TRUE(clean.Exited && clean.Code == 0) << "the operation fails without faults";
    const TFiles after = Snapshot(work);
    ASSERT_NE(after, before) << "the operation changed nothing";

    struct TSweep {
        TFaultKind Kind;
        int Error;
        int Count;
    };
    const TSweep sweeps[] = {{TFaultKind::Read, EIO, clean.Reads},
                             {TFaultKind::Write, EIO, clean.Writes},
                             {TFaultKind::Write, ENOSPC, clean.Writes},
                             {TFaultKind::Kill, 0, clean.Writes}};
    for (const TSweep& sweep : sweeps) {
        for (int k = 1; k <= sweep.Count; ++k) {
            const std::string run = std::string(c.Name) + " " +
                                    (sweep.Kind == TFaultKind::Read    ? "read"
                                     : sweep.Kind == TFaultKind::Write ? "write"
                                                                       : "kill") +
                                    " #" + std::to_string(k) + " " + std::strerror(sweep.Error);
            CopyFolder(prepared, work);
            const TChildRun r = RunChild(c, work, input, TFaultPlan{sweep.Kind, k, sweep.Error});
            if (sweep.Kind == TFaultKind::Kill) {
                EXPECT_TRUE(r.Killed || r.Code == 0) << run;
                ExpectOldOrNew(before, after, Snapshot(work), true, run, c.Stepwise, work);
                // The next program on the folder clears what the kill left.
                test::TTestHost host;
                Workspace next(host, work);
                ASSERT_TRUE(next.LockDataFolder(std::chrono::milliseconds(0))) << run;
                ExpectOldOrNew(before, after, Snapshot(work), false, run + ", next start", c.Stepwise,
                               work);
            } else {
                ASSERT_TRUE(r.Exited) << run;
                if (r.Fired) {
                    EXPECT_EQ(r.Code, 1) << run << ": the failure was not reported";
                }
                ExpectOldOrNew(before, after, Snapshot(work), false, run, c.Stepwise, work);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(SavePaths, FaultSweep, ::testing::ValuesIn(CASES),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace pelko
