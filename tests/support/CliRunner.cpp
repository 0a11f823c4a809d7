// CliRunner: the command line run in-process, and CSV fixtures.
#include "support/CliRunner.h"

#include "Commands.h"

#include <CLI/CLI.hpp>
#include <fstream>
#include <iconv.h>
#include <sstream>
#include <stdexcept>

namespace zentrix::test {

CliRun RunCli(const std::vector<std::string>& args, const std::string& input)
{
    std::ostringstream out;
    std::ostringstream err;
    std::istringstream in(input);
    cli::CliContext context{out, err};
    context.in = &in;
    const std::unique_ptr<CLI::App> app = cli::MakeApp();
    cli::AddAllCommands(*app, context);
    CliRun run;
    run.status = cli::RunApp(*app, context, args);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::string EnglishCsv(const std::vector<DrawRecord>& draws, int firstDraw)
{
    std::string csv = "draw,date,n1,n2,n3,n4,n5,n6,bonus\n";
    int draw = firstDraw;
    for (const DrawRecord& record : draws) {
        csv += std::to_string(draw++) + ",2020-01-01";
        for (const std::int16_t n : record.Numbers)
            csv += "," + std::to_string(n);
        csv += "," + std::to_string(record.Bonus) + "\n";
    }
    return csv;
}

void WriteText(const std::filesystem::path& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::string ToCp932(const std::string& utf8)
{
    iconv_t converter = iconv_open("CP932", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv has no CP932");
    std::string input = utf8;
    std::string output(input.size() * 2 + 16, '\0');
    char* in = input.data();
    char* out = output.data();
    std::size_t inLeft = input.size();
    std::size_t outLeft = output.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1))
        throw std::runtime_error("text not representable in CP932");
    output.resize(output.size() - outLeft);
    return output;
}

} // namespace zentrix::test
