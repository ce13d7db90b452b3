#pragma once

#include "link/ControllerSettings.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace tevra {

inline constexpr std::size_t kControllerMemorySize = 0x10000;
// The program area runs up to the settings block.
inline constexpr std::size_t kProgramAreaSize = kConfigBlockAddress;

struct SimulatorOptions {
    // Consume the host's bytes and send the answer at the pace of a 19200 baud 8N2 line.
    bool paced = false;
    // Read-backs of this block and of every later one go unanswered. Blocks are counted from 0
    // in the order their addresses first come on the line, written or read back (the settings
    // block comes after the program either way).
    std::optional<int> silentFromBlock{};
    // Read-backs with these numbers (counted from 1 over all read-backs) come back with their first
    // byte changed.
    std::set<int> wrongByteOnAttempts{};
    // Every answer is one byte short.
    bool shortAnswers = false;
    // Once a read-back of this block has been answered, the controller closes the line as an
    // unplugged device would when the host turns to another block: after the block's one
    // read-back in an upload, after both in a download.
    std::optional<int> hangUpAfterBlock{};
    // The first read-back's answer comes after this many bytes that a host which gave up left
    // on the line: the end of the same answer (at most all of it). They arrive after the new
    // host's purge, as the rest of an answer still on its way does.
    std::size_t leftoverBytes = 0;
};

// Plays the controller on the master side of a pseudo-terminal, on a thread of its own. The
// host opens devicePath() like any serial device.
class SimulatedController {
public:
    explicit SimulatedController(SimulatorOptions options = {});
    ~SimulatedController();
    SimulatedController(const SimulatedController&) = delete;
    SimulatedController& operator=(const SimulatedController&) = delete;

    // Opens the pseudo-terminal and starts answering. False, with error() set, when the system
    // refuses a pseudo-terminal.
    bool start();
    // Stops answering and closes the pseudo-terminal; the device path disappears.
    void stop();

    const std::string& devicePath() const { return m_devicePath; }
    const std::string& error() const { return m_error; }

    // Puts bytes into the memory as a write would, without a command on the line; addresses
    // wrap within the 64 KiB.
    void load(std::uint16_t address, std::span<const std::uint8_t> bytes);

    std::vector<std::uint8_t> memory() const;
    std::vector<std::uint8_t> programArea() const;
    ConfigBlock settingsBlock() const;
    // Whole commands parsed so far: writes with their data, and read-backs.
    std::size_t commandCount() const;
    // Every byte the host sent, in order.
    std::vector<std::uint8_t> receivedBytes() const;
    // Blocks until the host has sent count bytes, or until wait has passed; true when it has.
    bool waitForReceivedBytes(std::size_t count, std::chrono::milliseconds wait) const;

private:
    enum class ParseState { Command, AddressLow, AddressHigh, Data };

    void run();
    void consume(std::uint8_t byte, std::chrono::steady_clock::time_point arrivedAt);
    void finishCommand();
    void answerReadBack(std::uint16_t address);
    int blockIndex(std::uint16_t address);
    // Under m_mutex.
    void store(std::uint16_t address, std::span<const std::uint8_t> bytes);
    bool sendPaced(const std::vector<std::uint8_t>& answer);
    bool pauseUntil(std::chrono::steady_clock::time_point until);
    void hangUp();
    void closeDescriptors();

    const SimulatorOptions m_options;
    std::string m_devicePath;
    std::string m_error;
    int m_master = -1;
    int m_slave = -1; // held so that the master never reads EIO between clients
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};

    // Parser state: touched by the simulator thread only.
    ParseState m_parseState = ParseState::Command;
    // The command being parsed.
    struct Command {
        std::uint8_t code = 0;
        std::uint16_t address = 0;
        std::vector<std::uint8_t> data; // the 128 bytes that follow a write command
    };
    Command m_pending;
    std::chrono::steady_clock::time_point m_lastByteAt;
    std::vector<std::uint16_t> m_blockAddresses;
    int m_readBackCount = 0;
    bool m_hangUpPending = false;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<std::uint8_t> m_memory;
    std::size_t m_commandCount = 0;
    std::vector<std::uint8_t> m_received;
};

} // namespace tevra
