// BenchHistory: the real history or the synthetic one of tests/common, in a temporary file.
#include "BenchHistory.h"

#include "common/SampleHistory.h"

#include <stdexcept>
#include <stdlib.h>

namespace zentrix::bench {

std::vector<DrawRecord> LoadBenchHistory(std::string* source)
{
    if (std::optional<std::vector<DrawRecord>> real = test::RealHistory(); real && real->size() >= 2) {
        if (source)
            *source = "real history, " + std::to_string(real->size()) + " draws";
        return std::move(*real);
    }
    if (source)
        *source = "synthetic history, 2000 draws";
    return test::SyntheticHistory(2000, 2037);
}

BenchHistoryFile::BenchHistoryFile(const std::vector<DrawRecord>& draws)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "zentrix-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    m_dir = pattern;
    m_file = m_dir / "Loto6data.dt";
    test::WriteHistory(m_file, draws);
}

BenchHistoryFile::~BenchHistoryFile()
{
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
}

} // namespace zentrix::bench
