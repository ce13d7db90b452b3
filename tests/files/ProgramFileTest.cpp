#include "files/ProgramFile.h"

#include "support/TemporaryFolder.h"

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <tuple>
#include <vector>

namespace tevra {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const ProgramImage& image) {
    return {image.bytes().begin(), image.bytes().end()};
}

Bytes contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class ProgramFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_dir.empty());
        // A target whose every byte is known, so that any write by a refused read shows.
        for (std::size_t i = 0; i < kImageSize; ++i) {
            m_pattern.bytes()[i] = static_cast<std::uint8_t>(i * 7 + 3);
        }
    }

    long entries() const { return std::distance(fs::directory_iterator(m_dir), {}); }

    const test::TemporaryFolder m_folder{"tevra-file-test"};
    const fs::path m_dir = m_folder.path();
    ProgramImage m_pattern;
};

TEST_F(ProgramFileTest, ReadTakesAWholeMatchingFileOverHeaderAndUsedRecordsOrNothing) {
    // Header, length, and whether the file is taken: 2 + 18 bytes a step, whatever the start
    // block bit says, for at most 500 steps.
    const std::tuple<std::uint16_t, std::size_t, bool> rows[] = {
        {0x800A, 182, true},     {0x0000, 2, true},    {0x8000, 2, true},    {500, 9002, true},
        {0, 0, false},           {0, 1, false},        {0x0015, 362, false}, {0x0014, 380, false},
        {0x0014, 361, false},    {0x0014, 363, false}, {0x8001, 2, false},   {501, 9020, false},
        {500, kImageSize, false}};
    for (const auto& [header, length, taken] : rows) {
        SCOPED_TRACE(::testing::Message() << header << ", " << length << " bytes");
        Bytes file(length, 0xC3);
        if (length >= 2) {
            file[0] = static_cast<std::uint8_t>(header & 0xFF);
            file[1] = static_cast<std::uint8_t>(header >> 8);
        }
        Bytes expected = bytesOf(m_pattern);
        if (taken) {
            std::copy(file.begin(), file.end(), expected.begin());
        }
        ProgramImage target = m_pattern;
        EXPECT_EQ(readProgramBytes(file, target).status,
                  taken ? FileStatus::Done : FileStatus::Refused);
        EXPECT_EQ(bytesOf(target), expected);
        put(m_dir / "read.tvr", file);
        target = m_pattern;
        EXPECT_EQ(readProgramFile(m_dir / "read.tvr", target).ok(), taken);
        EXPECT_EQ(bytesOf(target), expected);
    }
}

TEST_F(ProgramFileTest, SaveWritesTheUsedPartOverTheFileALinkNamesKeepingItsPermissions) {
    const fs::path file = m_dir / "show.tvr";
    put(file, Bytes(10000, 0xEE));
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(file, perms);
    fs::create_symlink(file, m_dir / "link.tvr");
    ProgramImage image = ProgramImage::startProgram();
    image.setStartBlock(true);

    ASSERT_TRUE(writeProgramFile(m_dir / "link.tvr", image).ok());
    Bytes expected{0x14, 0x80};
    for (int step = 1; step <= 20; ++step) {
        expected.insert(expected.end(), {0x64, 0x00}); // 1 s
        expected.insert(expected.end(), kChannelCount, 0x00);
    }
    EXPECT_EQ(contentOf(file), expected);
    EXPECT_TRUE(fs::is_symlink(m_dir / "link.tvr"));
    EXPECT_EQ(fs::status(file).permissions(), perms);
    EXPECT_EQ(entries(), 2) << "no temporary file left";

    // A header that could not be read back gives no bytes, and a save writes nothing.
    image.setHeaderWord(0x8000 | 501);
    EXPECT_TRUE(programFileBytes(image).empty());
    EXPECT_EQ(writeProgramFile(file, image).status, FileStatus::Refused);
    EXPECT_EQ(contentOf(file), expected);
}

TEST_F(ProgramFileTest, FailuresSayWhyAndKeepWhatWasThere) {
    const fs::path file = m_dir / "show.tvr";
    put(file, Bytes(362, 0x11));
    fs::create_directory(m_dir / "folder.tvr");
    const fs::path huge = m_dir / "huge.tvr";
    put(huge, programFileBytes(ProgramImage::startProgram()));
    // Sparse: costs no disk, and reading it whole would cost 4 GiB of memory.
    fs::resize_file(huge, std::uintmax_t{4} << 30);
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(500);
    // A size limit makes the write itself fail half way, as a full disk would.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit limit{1000, saved.rlim_max};
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const FileOutcome halfWritten = writeProgramFile(file, image);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);

    ProgramImage target = m_pattern;
    const std::pair<FileOutcome, FileStatus> rows[] = {
        {halfWritten, FileStatus::CannotWrite},
        {writeProgramFile(m_dir / "folder.tvr", image), FileStatus::CannotWrite},
        {writeProgramFile(m_dir / "missing" / "show.tvr", image), FileStatus::CannotOpen},
        {readProgramFile(m_dir / "absent.tvr", target), FileStatus::CannotOpen},
        {readProgramFile(m_dir, target), FileStatus::CannotRead},
        {readProgramFile(huge, target), FileStatus::Refused}};
    for (const auto& [outcome, status] : rows) {
        EXPECT_EQ(outcome.status, status);
        EXPECT_EQ(outcome.reason.empty(), status == FileStatus::Refused);
    }
    EXPECT_EQ(target, m_pattern);
    EXPECT_EQ(contentOf(file), Bytes(362, 0x11));
    EXPECT_TRUE(fs::is_directory(m_dir / "folder.tvr"));
    EXPECT_EQ(entries(), 3) << "no temporary file left";
}

} // namespace
} // namespace tevra
