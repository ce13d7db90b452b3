#include "files/ProgramFile.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
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

TEST(ProgramFileTest, ExpectedLengthIgnoresTheStartBlockBit) {
    EXPECT_EQ(expectedFileLength(0x0000), 2U);
    EXPECT_EQ(expectedFileLength(0x0014), 362U);
    EXPECT_EQ(expectedFileLength(0x8014), 362U);
    EXPECT_EQ(expectedFileLength(0x01F4), 9002U);
}

TEST(ProgramFileTest, StartProgramBytes) {
    const Bytes bytes = programFileBytes(ProgramImage::startProgram());
    ASSERT_EQ(bytes.size(), 362U);
    EXPECT_EQ(bytes[0], 0x14);
    EXPECT_EQ(bytes[1], 0x00);
    for (std::size_t step = 0; step < 20; ++step) {
        const std::size_t at = 2 + 18 * step;
        EXPECT_EQ(bytes[at], 0x64) << step;
        EXPECT_EQ(bytes[at + 1], 0x00) << step;
        for (std::size_t k = 2; k < 18; ++k) {
            EXPECT_EQ(bytes[at + k], 0x00) << step << "/" << k;
        }
    }
}

TEST(ProgramFileTest, StartBlockIsWrittenWithTheCount) {
    ProgramImage image = ProgramImage::startProgram();
    image.setStartBlock(true);
    const Bytes bytes = programFileBytes(image);
    ASSERT_EQ(bytes.size(), 362U);
    EXPECT_EQ(bytes[0], 0x14);
    EXPECT_EQ(bytes[1], 0x80);
}

TEST(ProgramFileTest, AnImpossibleCountGivesNoBytes) {
    ProgramImage image = ProgramImage::startProgram();
    image.setHeaderWord(501);
    EXPECT_TRUE(programFileBytes(image).empty());
}

struct RefusedFile {
    const char* name;
    Bytes bytes;
};

class RefusedFileTest : public ::testing::TestWithParam<RefusedFile> {};

TEST_P(RefusedFileTest, LeavesTheTargetUntouched) {
    ProgramImage target = patternImage();
    const ProgramImage before = target;
    const FileOutcome outcome = readProgramBytes(GetParam().bytes, target);
    EXPECT_EQ(outcome.status, FileStatus::Refused);
    EXPECT_FALSE(outcome.ok());
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
    ProgramImage target = ProgramImage::startProgram();
    target.setStepCount(30);
    target.setStepTime(25, 777);
    ProgramImage shorter = ProgramImage::startProgram();
    shorter.setStepCount(10);
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
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(500);
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

class ProgramFileOnDiskTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> serial{0};
        m_dir = fs::temp_directory_path() /
                ("tevra-file-test-" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 std::to_string(serial++) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_dir, ignored);
    }

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

TEST_F(ProgramFileOnDiskTest, SaveAndReadBack) {
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(500);
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
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    ASSERT_TRUE(writeProgramFile(file, ProgramImage::startProgram()).ok());
    EXPECT_EQ(contentOf(file), programFileBytes(ProgramImage::startProgram()));
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
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

TEST_F(ProgramFileOnDiskTest, FailedSaveInAReadOnlyFolderKeepsTheOldFile) {
    const fs::path file = m_dir / "show.tvr";
    const Bytes old = programFileBytes(ProgramImage::startProgram());
    put(file, old);
    fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
    if (std::ofstream(m_dir / "probe")) {
        GTEST_SKIP() << "this user may write into a read-only folder";
    }
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(40);

    const FileOutcome outcome = writeProgramFile(file, image);
    EXPECT_FALSE(outcome.ok());
    EXPECT_FALSE(outcome.reason.empty());
    EXPECT_EQ(contentOf(file), old);
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
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(500);

    FileOutcome outcome;
    {
        const FileSizeLimit limit(1000);
        outcome = writeProgramFile(file, image);
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

TEST_F(ProgramFileOnDiskTest, ReadingAMissingFileSaysWhyAndChangesNothing) {
    ProgramImage target = patternImage();
    const ProgramImage before = target;
    const FileOutcome outcome = readProgramFile(m_dir / "absent.tvr", target);
    EXPECT_EQ(outcome.status, FileStatus::CannotOpen);
    EXPECT_FALSE(outcome.reason.empty());
    EXPECT_EQ(target, before);
}

TEST_F(ProgramFileOnDiskTest, ReadingADirectoryChangesNothing) {
    ProgramImage target = patternImage();
    const ProgramImage before = target;
    const FileOutcome outcome = readProgramFile(m_dir, target);
    EXPECT_FALSE(outcome.ok());
    EXPECT_NE(outcome.status, FileStatus::Refused);
    EXPECT_EQ(target, before);
}

TEST_F(ProgramFileOnDiskTest, RefusedFilesOnDiskChangeNothing) {
    const std::vector<Bytes> files = {
        {}, {0x14}, fileOf(0x0015, lengthFor(20)), fileOf(501, lengthFor(501))};
    for (const Bytes& bytes : files) {
        const fs::path file = m_dir / "bad.tvr";
        put(file, bytes);
        ProgramImage target = patternImage();
        const ProgramImage before = target;
        EXPECT_EQ(readProgramFile(file, target).status, FileStatus::Refused) << bytes.size();
        EXPECT_EQ(target, before);
    }
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
