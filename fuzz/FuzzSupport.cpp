// FuzzSupport: scratch files, input reading and failure reports for the fuzz targets.
#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace zentrix::fuzz {

const std::filesystem::path& ScratchDir()
{
    static const std::filesystem::path dir = [] {
        std::error_code ec;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, ec))
            base = std::filesystem::temp_directory_path();
        std::string pattern = (base / "zentrix-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            Fail("cannot make a scratch folder in " + base.string());
        return std::filesystem::path(pattern);
    }();
    // Removed when the fuzzer ends normally (libFuzzer leaves through exit()).
    static const struct Cleanup
    {
        ~Cleanup()
        {
            std::error_code ec;
            std::filesystem::remove_all(dir, ec);
        }
    } cleanup;
    return dir;
}

void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        Fail("cannot write " + path.string());
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint8_t InputReader::byte()
{
    return m_pos < m_data.size() ? m_data[m_pos++] : 0;
}

std::uint64_t InputReader::u64()
{
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i)
        value = (value << 8) | byte();
    return value;
}

int InputReader::inRange(int lo, int hi)
{
    return lo + static_cast<int>(byte() % static_cast<unsigned>(hi - lo + 1));
}

std::string_view InputReader::until(char separator)
{
    const std::size_t start = m_pos;
    while (m_pos < m_data.size() && m_data[m_pos] != static_cast<std::uint8_t>(separator))
        ++m_pos;
    const std::string_view text(reinterpret_cast<const char*>(m_data.data()) + start, m_pos - start);
    if (m_pos < m_data.size())
        ++m_pos; // the separator
    return text;
}

void Fail(const std::string& what)
{
    std::fprintf(stderr, "fuzz property broken: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

} // namespace zentrix::fuzz
