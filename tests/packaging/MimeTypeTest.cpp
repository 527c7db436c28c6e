#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QMimeDatabase>
#include <QString>
#include <gtest/gtest.h>

#include "TempDir.h"
#include "files/MeasureFile.h"
#include "measure/CMeasureChain.h"
#include "measure/Measure.h"

namespace orvane {
namespace {

constexpr const char* kResultsType = "application/x-orvane-results";

// Qt's MIME database over a data folder holding only the program's MIME
// package, compiled by update-mime-database as a desktop compiles it when that
// tool is installed, read from the XML otherwise.
class MimeTypeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_data = new test::TempDir;
        const std::filesystem::path packages = *s_data / "mime" / "packages";
        std::filesystem::create_directories(packages);
        std::filesystem::copy_file(ORVANE_MIME_XML, packages / "org.orvane.Orvane.xml");
        const std::string compile = "update-mime-database '" + (*s_data / "mime").string() + "' 2>/dev/null";
        if (std::system("command -v update-mime-database >/dev/null 2>&1") == 0) {
            ASSERT_EQ(std::system(compile.c_str()), 0);
        }
        // Before the first QMimeDatabase: the database reads these once.
        setenv("XDG_DATA_HOME", s_data->path().c_str(), 1);
        setenv("XDG_DATA_DIRS", s_data->path().c_str(), 1);
    }
    static void TearDownTestSuite()
    {
        delete s_data;
        s_data = nullptr;
    }

    static std::filesystem::path Write(const std::string& name, const std::string& bytes)
    {
        const std::filesystem::path path = *s_data / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static test::TempDir* s_data;
};

test::TempDir* MimeTypeTest::s_data = nullptr;

// The bytes of a real results file: one measured length.
std::string ResultsFileBytes()
{
    CMeasureChain chain;
    MEASURE record;
    record.kind = FinishedKind(kModeLength);
    record.points.SetAt(0, 10.0, 20.0);
    record.points.SetAt(1, 110.0, 20.0);
    chain.AddTailValue(record);
    const std::vector<std::uint8_t> bytes = EncodeMeasureFile(chain);
    return {bytes.begin(), bytes.end()};
}

struct MimeCase {
    const char* name;
    std::string bytes;
    bool ours;
};

TEST_F(MimeTypeTest, ResultsFilesAreKnownByTheirMagicOrTheirName)
{
    const std::string results = ResultsFileBytes();
    ASSERT_EQ(results.substr(0, 4), "_MES");
    const std::vector<MimeCase> cases{
        {"job.mes", results, true},
        {"JOB.MES", results, true},
        // Renamed: the magic "_MES" at offset 0 still tells.
        {"job.dat", results, true},
        {"job", results, true},
        {"other.dat", "_MEX1000" + std::string(8, '\0'), false},
        {"shifted.dat", " _MES1000" + std::string(8, '\0'), false},
        {"notes.txt", "plain text", false},
    };
    const QMimeDatabase database;
    for (const MimeCase& c : cases) {
        const QString path = QString::fromStdString(Write(c.name, c.bytes).string());
        const QMimeType type = database.mimeTypeForFile(path);
        EXPECT_EQ(type.name() == kResultsType, c.ours) << c.name << " -> " << type.name().toStdString();
    }
    const QMimeType type = database.mimeTypeForName(kResultsType);
    ASSERT_TRUE(type.isValid());
    EXPECT_EQ(type.comment(), "Orvane measurement results");
    EXPECT_EQ(type.suffixes(), QStringList{"mes"});
}

} // namespace
} // namespace orvane
