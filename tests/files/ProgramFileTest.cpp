#include "files/ProgramFile.h"

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <ostream>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace tevra {
namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

// A target whose every byte is known, so any write by a refused read shows.
ProgramImage patternImage() {
    ProgramImage image;
    auto bytes = image.bytes();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    return image;
}

// A file of the given header with every byte after it set to fill.
Bytes fileOf(std::uint16_t header, std::size_t length, std::uint8_t fill = 0x5A) {
    Bytes bytes(length, fill);
    if (length > 0) {
        bytes[0] = static_cast<std::uint8_t>(header & 0xFF);
    }
    if (length > 1) {
        bytes[1] = static_cast<std::uint8_t>(header >> 8);
    }
    return bytes;
}

std::size_t lengthFor(int steps) {
    return 2 + 18 * static_cast<std::size_t>(steps);
}

ProgramImage programOf(int steps) {
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(steps);
    return image;
}

// Each test gets a folder of its own.
class ProgramFileOnDiskTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "tevra-file-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(name.data()), nullptr);
        m_dir = name;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    static Bytes contentOf(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void put(const fs::path& path, const Bytes& bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<fs::path> entries() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(m_dir)) {
            found.push_back(entry.path().filename());
        }
        return found;
    }

    fs::path m_dir;
};

TEST(ProgramFileTest, ExpectedLengthIgnoresTheStartBlockBit) {
    EXPECT_EQ(expectedFileLength(0x0000), 2U);
    EXPECT_EQ(expectedFileLength(0x0014), 362U);
    EXPECT_EQ(expectedFileLength(0x8014), 362U);
    EXPECT_EQ(expectedFileLength(0x01F4), 9002U);
}

TEST(ProgramFileTest, WritesTheHeaderThenTheUsedRecords) {
    Bytes expected{0x14, 0x00};
    for (int step = 1; step <= 20; ++step) {
        expected.insert(expected.end(), {0x64, 0x00}); // 1 s
        expected.insert(expected.end(), kChannelCount, 0x00);
    }
    ProgramImage image = ProgramImage::startProgram();
    EXPECT_EQ(programFileBytes(image), expected);

    image.setStartBlock(true);
    expected[1] = 0x80;
    EXPECT_EQ(programFileBytes(image), expected);

    image.setHeaderWord(501);
    EXPECT_TRUE(programFileBytes(image).empty()) << "an impossible count gives no bytes";
}

struct RefusedFile {
    const char* name;
    Bytes bytes;
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const RefusedFile& row, std::ostream* out) {
    *out << row.name;
}

class RefusedFileTest : public ProgramFileOnDiskTest,
                        public ::testing::WithParamInterface<RefusedFile> {};

TEST_P(RefusedFileTest, LeavesTheTargetUntouched) {
    ProgramImage target = patternImage();
    const ProgramImage before = target;
    const FileOutcome outcome = readProgramBytes(GetParam().bytes, target);
    EXPECT_EQ(outcome.status, FileStatus::Refused);
    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(target, before);

    const fs::path file = m_dir / "bad.tvr";
    put(file, GetParam().bytes);
    EXPECT_EQ(readProgramFile(file, target).status, FileStatus::Refused);
    EXPECT_EQ(target, before);
}

INSTANTIATE_TEST_SUITE_P(
    WrongLength, RefusedFileTest,
    ::testing::Values(RefusedFile{"Empty", {}}, RefusedFile{"OneByte", {0x00}},
                      RefusedFile{"ClaimsMoreThanItHolds", fileOf(0x0015, lengthFor(20))},
                      RefusedFile{"ClaimsLessThanItHolds", fileOf(0x0014, lengthFor(21))},
                      RefusedFile{"OneByteShort", fileOf(0x0014, lengthFor(20) - 1)},
                      RefusedFile{"OneByteLong", fileOf(0x0014, lengthFor(20) + 1)},
                      RefusedFile{"HeaderOnlyClaimingOne", fileOf(0x8001, 2)},
                      RefusedFile{"Over500WithMatchingLength", fileOf(501, lengthFor(501))},
                      RefusedFile{"StartBlockOver500", fileOf(0x8000 | 600, lengthFor(600))},
                      RefusedFile{"LargestClaim", fileOf(0x7FFF, lengthFor(0x7FFF))},
                      RefusedFile{"FullImage", fileOf(500, kImageSize)}),
    [](const ::testing::TestParamInfo<RefusedFile>& row) { return row.param.name; });

TEST(ProgramFileTest, ReadWritesHeaderAndUsedRecordsOnly) {
    ProgramImage target = patternImage();
    const ProgramImage before = target;
    const Bytes file = fileOf(0x800A, lengthFor(10), 0xC3);

    ASSERT_TRUE(readProgramBytes(file, target).ok());

    EXPECT_EQ(target.headerWord(), 0x800A);
    EXPECT_EQ(target.stepCount(), 10);
    EXPECT_TRUE(target.startBlock());
    const auto bytes = target.bytes();
    for (std::size_t i = 2; i < bytes.size(); ++i) {
        EXPECT_EQ(bytes[i], i < file.size() ? 0xC3 : before.bytes()[i]) << "byte " << i;
    }
}

TEST(ProgramFileTest, ATenStepFileKeepsTheLaterRecordsOfAThirtyStepProgram) {
    ProgramImage target = programOf(30);
    target.setStepTime(25, 777);
    ProgramImage shorter = programOf(10);
    shorter.setStepTime(10, 55);

    ASSERT_TRUE(readProgramBytes(programFileBytes(shorter), target).ok());
    EXPECT_EQ(target.stepCount(), 10);
    EXPECT_EQ(target.stepTime(10), 55);
    EXPECT_EQ(target.stepTime(25), 777);
}

TEST(ProgramFileTest, AnEmptyProgramIsAccepted) {
    for (const std::uint16_t header : {std::uint16_t{0x0000}, std::uint16_t{0x8000}}) {
        ProgramImage target = patternImage();
        const ProgramImage before = target;
        ASSERT_TRUE(readProgramBytes(fileOf(header, 2), target).ok());
        EXPECT_EQ(target.headerWord(), header);
        EXPECT_TRUE(std::equal(before.bytes().begin() + 2, before.bytes().end(),
                               target.bytes().begin() + 2));
    }
}

TEST(ProgramFileTest, ContentIsTakenAsItIs) {
    ProgramImage image = programOf(500);
    image.setStepTime(1, 0);
    image.setStepTime(2, 0xFFFF);
    image.setCell(3, 4, 0x0C);
    image.setCell(500, 15, 0xFD);
    ProgramImage target;
    ASSERT_TRUE(readProgramBytes(programFileBytes(image), target).ok());
    EXPECT_EQ(target.stepTime(1), 0);
    EXPECT_EQ(target.stepTime(2), 0xFFFF);
    EXPECT_EQ(target.cell(3, 4), 0x0C);
    EXPECT_EQ(target.cell(500, 15), 0xFD);
}

TEST_F(ProgramFileOnDiskTest, SaveAndReadBack) {
    ProgramImage image = programOf(500);
    image.setStartBlock(true);
    image.setCell(500, 15, 0x7B);
    const fs::path file = m_dir / "show.tvr";

    ASSERT_TRUE(writeProgramFile(file, image).ok());
    EXPECT_EQ(fs::file_size(file), 9002U);
    EXPECT_EQ(entries(), std::vector<fs::path>{"show.tvr"}) << "no temporary file left";

    ProgramImage target = patternImage();
    ASSERT_TRUE(readProgramFile(file, target).ok());
    EXPECT_TRUE(
        std::equal(image.bytes().begin(), image.bytes().begin() + 9002, target.bytes().begin()));
}

TEST_F(ProgramFileOnDiskTest, SaveReplacesAnExistingFileAndKeepsItsPermissions) {
    const fs::path file = m_dir / "show.tvr";
    put(file, Bytes(5000, 0xEE));
    const fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(file, perms);

    ASSERT_TRUE(writeProgramFile(file, ProgramImage::startProgram()).ok());
    EXPECT_EQ(contentOf(file), programFileBytes(ProgramImage::startProgram()));
    EXPECT_EQ(fs::status(file).permissions(), perms);
}

TEST_F(ProgramFileOnDiskTest, SaveThroughALinkReplacesTheFileItNames) {
    const fs::path file = m_dir / "real.tvr";
    const fs::path link = m_dir / "link.tvr";
    put(file, Bytes(10, 0x00));
    fs::create_symlink(file, link);

    ASSERT_TRUE(writeProgramFile(link, ProgramImage::startProgram()).ok());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::file_size(file), 362U);
}

TEST_F(ProgramFileOnDiskTest, FailedSaveOntoADirectoryKeepsItAndSaysWhy) {
    const fs::path target = m_dir / "show.tvr";
    fs::create_directory(target);
    put(target / "inside", Bytes{1, 2, 3});

    const FileOutcome outcome = writeProgramFile(target, ProgramImage::startProgram());
    EXPECT_EQ(outcome.status, FileStatus::CannotWrite);
    EXPECT_FALSE(outcome.reason.empty());
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(contentOf(target / "inside"), (Bytes{1, 2, 3}));
    EXPECT_EQ(entries(), std::vector<fs::path>{"show.tvr"});
}

// A file size limit makes the write itself fail half way, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = nullptr;
};

TEST_F(ProgramFileOnDiskTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    const fs::path file = m_dir / "show.tvr";
    const Bytes old = fileOf(2, lengthFor(2), 0x11);
    put(file, old);

    FileOutcome outcome;
    {
        const FileSizeLimit limit(1000);
        outcome = writeProgramFile(file, programOf(500));
    }
    EXPECT_EQ(outcome.status, FileStatus::CannotWrite);
    EXPECT_FALSE(outcome.reason.empty());
    EXPECT_EQ(contentOf(file), old);
    EXPECT_EQ(entries(), std::vector<fs::path>{"show.tvr"});
}

TEST_F(ProgramFileOnDiskTest, SaveIntoAMissingFolderFails) {
    const FileOutcome outcome =
        writeProgramFile(m_dir / "missing" / "show.tvr", ProgramImage::startProgram());
    EXPECT_EQ(outcome.status, FileStatus::CannotOpen);
    EXPECT_FALSE(outcome.reason.empty());
}

TEST_F(ProgramFileOnDiskTest, SaveOfAnImpossibleCountWritesNothing) {
    const fs::path file = m_dir / "show.tvr";
    const Bytes old = programFileBytes(ProgramImage::startProgram());
    put(file, old);
    ProgramImage image = ProgramImage::startProgram();
    image.setHeaderWord(0x8000 | 501);
    EXPECT_EQ(writeProgramFile(file, image).status, FileStatus::Refused);
    EXPECT_EQ(contentOf(file), old);
    EXPECT_EQ(entries(), std::vector<fs::path>{"show.tvr"});
}

TEST_F(ProgramFileOnDiskTest, ReadingWhatIsNoFileSaysWhyAndChangesNothing) {
    for (const fs::path& path : {m_dir / "absent.tvr", m_dir}) {
        ProgramImage target = patternImage();
        const ProgramImage before = target;
        const FileOutcome outcome = readProgramFile(path, target);
        EXPECT_FALSE(outcome.ok()) << path;
        EXPECT_NE(outcome.status, FileStatus::Refused) << path;
        EXPECT_FALSE(outcome.reason.empty()) << path;
        EXPECT_EQ(target, before) << path;
    }
    ProgramImage target;
    EXPECT_EQ(readProgramFile(m_dir / "absent.tvr", target).status, FileStatus::CannotOpen);
}

TEST_F(ProgramFileOnDiskTest, AHugeFileIsRefusedByItsSize) {
    const fs::path file = m_dir / "huge.tvr";
    put(file, fileOf(20, lengthFor(20)));
    // Sparse: costs no disk, and reading it whole would cost 4 GiB of memory.
    fs::resize_file(file, std::uintmax_t{4} << 30);
    ProgramImage target = patternImage();
    const ProgramImage before = target;
    EXPECT_EQ(readProgramFile(file, target).status, FileStatus::Refused);
    EXPECT_EQ(target, before);
}

} // namespace
} // namespace tevra
