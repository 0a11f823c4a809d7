// FuzzSupport: what every fuzz target shares: a scratch folder for its data file, reading the
// input as a stream of small choices, and stopping loudly when a property does not hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix::fuzz {

/// A folder of this process for data files, on a memory file system when there is one (every
/// write is flushed to the disk, which would otherwise dominate each run). Made on first use.
const std::filesystem::path& ScratchDir();

/// Replaces the file with exactly these bytes.
void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);

/// Reads the fuzzer's input front to back; past the end every choice is 0.
class InputReader
{
public:
    explicit InputReader(std::span<const std::uint8_t> data)
        : m_data(data)
    {
    }

    std::uint8_t byte();
    std::uint64_t u64();
    /// A value in lo..hi.
    int inRange(int lo, int hi);
    bool flag() { return (byte() & 1) != 0; }
    /// Bytes up to the next `separator` (not included) or the end.
    std::string_view until(char separator);
    /// Everything not read yet.
    std::span<const std::uint8_t> rest() const { return m_data.subspan(m_pos); }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
};

/// Prints the broken property and aborts, so the fuzzer keeps the input that broke it.
[[noreturn]] void Fail(const std::string& what);

inline void Require(bool holds, const char* what)
{
    if (!holds)
        Fail(what);
}

} // namespace zentrix::fuzz
