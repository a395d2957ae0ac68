#include "scenarios/script_log.h"

#include "core/atomic_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace pelko {
namespace {

TDateTime At(int day, int hour, int minute, int second) {
    return TDateTime{2024, 3, day, hour, minute, second};
}

TEST(ScriptLog, NamesTheFileByTheStartAndStampsEveryLineWithTheMomentOfWriting) {
    test::TTempDir dir;
    TDateTime now = At(5, 19, 40, 7);
    TScriptLog log(dir.path(), [&] { return now; });
    log.Start();
    EXPECT_EQ(log.File(), dir.file("ScriptLog_2024-03-05-19-40-07.txt"));
    log.Write("### ЗАПУСК");
    now = At(5, 19, 41, 0);
    log.Write("");
    EXPECT_EQ(ReadWholeFile(log.File()),
              "[2024-03-05 19:40:07]: ### \xC7\xC0\xCF\xD3\xD1\xCA\r\n[2024-03-05 19:41:00]: \r\n");
    EXPECT_EQ(log.End(), dir.file("ScriptLog_2024-03-05-19-40-07.txt"));
    EXPECT_FALSE(log.Started());
    EXPECT_EQ(log.End(), std::nullopt);
}

TEST(ScriptLog, ARunInTheSameSecondAppendsAndAWriteWithoutStartNamesTheFile) {
    test::TTempDir dir;
    TScriptLog log(dir.path(), [] { return At(1, 0, 0, 9); });
    log.Write("a");
    ASSERT_TRUE(log.Started());
    EXPECT_EQ(log.File().filename(), "ScriptLog_2024-03-01-00-00-09.txt");
    log.End();
    log.Start();
    log.Write("b");
    EXPECT_EQ(ReadWholeFile(log.File()),
              "[2024-03-01 00:00:09]: a\r\n[2024-03-01 00:00:09]: b\r\n");
}

TEST(ScriptLog, AFailedWriteThrowsAndKeepsTheName) {
    test::TTempDir dir;
    TScriptLog log(dir.file("missing"), [] { return At(1, 0, 0, 0); });
    log.Start();
    EXPECT_THROW(log.Write("x"), std::runtime_error);
    EXPECT_TRUE(log.Started());
    EXPECT_EQ(log.End(), std::nullopt);
}

TEST(ScriptLog, FindsOnlyRunLogsAndDeletesThem) {
    test::TTempDir dir;
    for (const char* name : {"ScriptLog_1.txt", "scriptlog_2024.TXT", "ScriptLog_.txt",
                             "ScriptLog.txt", "ScriptLog_1.txt.bak", "Pelko_6x45-3.log"})
        WriteFileAtomically(dir.file(name), "x");
    const auto logs = FindScriptLogs(dir.path());
    ASSERT_EQ(logs.size(), 3u);
    const TFilesDeleted result = DeleteFiles(logs);
    EXPECT_EQ(result.Total, 3);
    EXPECT_EQ(result.Deleted, 3);
    EXPECT_EQ(result.Failed, 0);
    EXPECT_TRUE(FindScriptLogs(dir.path()).empty());
    EXPECT_EQ(DeleteFiles({dir.file("gone.txt")}).Failed, 1);
}

} // namespace
} // namespace pelko
