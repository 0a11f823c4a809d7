// StoredWheels: reading and writing the stored designs, and their lazy proof.
#include "wheel/StoredWheels.h"

#include "wheel/WheelVerifier.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdio>
#include <numeric>

namespace zentrix::wheel {
namespace {

constexpr std::size_t kMaxStoredBlocks = 100'000;

std::string_view Trim(std::string_view s)
{
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && space(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && space(s.back()))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> Words(std::string_view s)
{
    std::vector<std::string_view> words;
    while (true) {
        s = Trim(s);
        if (s.empty())
            return words;
        const std::size_t end = std::min(s.find(' '), s.find('\t'));
        words.push_back(s.substr(0, end));
        if (end == std::string_view::npos)
            return words;
        s.remove_prefix(end);
    }
}

template <typename T> bool ReadNumber(std::string_view text, T& value)
{
    if (text.empty())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size();
}

/// Reads "design v=.. t=.. m=.. size=.. [seed=..] [seconds=..]"; an empty string when it is sound.
std::string ReadHeader(const std::vector<std::string_view>& words, StoredDesign& design, std::size_t& size)
{
    bool haveV = false, haveT = false, haveM = false, haveSize = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::size_t eq = words[i].find('=');
        if (eq == std::string_view::npos)
            return "expected key=value";
        const std::string_view key = words[i].substr(0, eq);
        const std::string_view value = words[i].substr(eq + 1);
        bool ok = false;
        if (key == "v")
            ok = haveV = ReadNumber(value, design.points);
        else if (key == "t")
            ok = haveT = ReadNumber(value, design.strength);
        else if (key == "m")
            ok = haveM = ReadNumber(value, design.served);
        else if (key == "size")
            ok = haveSize = ReadNumber(value, size);
        else if (key == "seed")
            ok = ReadNumber(value, design.seed);
        else if (key == "seconds")
            ok = ReadNumber(value, design.seconds);
        else
            return "unknown key";
        if (!ok)
            return "bad number";
    }
    if (!haveV || !haveT || !haveM || !haveSize)
        return "v, t, m and size are required";
    if (design.points < kMinPicks || design.points > kMaxPicks)
        return "v out of range";
    if (design.strength < 1 || design.strength > design.served || design.served > kTicketSize)
        return "t and m out of range";
    if (size == 0 || size > kMaxStoredBlocks)
        return "size out of range";
    return {};
}

/// Reads a line of six distinct point indices below `points`; 0 when it is not one.
PointMask ReadBlock(const std::vector<std::string_view>& words, int points)
{
    if (words.size() != std::size_t(kTicketSize))
        return 0;
    PointMask block = 0;
    for (const std::string_view word : words) {
        int point = -1;
        if (!ReadNumber(word, point) || point < 0 || point >= points)
            return 0;
        block |= PointMask{1} << point;
    }
    return std::popcount(block) == kTicketSize ? block : 0;
}

} // namespace

StoredParse ParseStoredDesigns(std::string_view text)
{
    StoredParse parse;
    StoredDesign current;
    std::size_t expected = 0; // blocks still to read for `current`
    std::size_t lineNumber = 0;
    const auto fail = [&](const std::string& what) {
        parse.error = "line " + std::to_string(lineNumber) + ": " + what;
        return parse;
    };
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#')
            continue;
        const std::vector<std::string_view> words = Words(line);
        if (expected > 0) {
            const PointMask block = ReadBlock(words, current.points);
            if (block == 0)
                return fail("expected six distinct points below " + std::to_string(current.points));
            current.blocks.push_back(block);
            if (--expected == 0)
                parse.designs.push_back(std::move(current));
            continue;
        }
        if (words.front() != "design")
            return fail("expected a design line");
        current = StoredDesign{};
        if (const std::string fault = ReadHeader(words, current, expected); !fault.empty())
            return fail(fault);
        current.blocks.reserve(expected);
    }
    if (expected > 0) {
        ++lineNumber;
        return fail("the last design ends early");
    }
    return parse;
}

std::string FormatStoredDesigns(const std::vector<StoredDesign>& designs,
                                const std::vector<std::string>& comment)
{
    std::string text;
    for (const std::string& line : comment)
        text += line.empty() ? "#\n" : "# " + line + "\n";
    char header[160];
    for (const StoredDesign& d : designs) {
        std::snprintf(header, sizeof header, "design v=%d t=%d m=%d size=%zu seed=%llu seconds=%.1f\n",
                      d.points, d.strength, d.served, d.blocks.size(),
                      static_cast<unsigned long long>(d.seed), d.seconds);
        text += header;
        for (PointMask block : d.blocks) {
            std::string line;
            for (; block != 0; block &= block - 1)
                line += (line.empty() ? "" : " ") + std::to_string(std::countr_zero(block));
            text += line + "\n";
        }
    }
    return text;
}

bool ProveStoredDesign(const StoredDesign& design)
{
    WheelRequest request;
    request.picks.resize(std::size_t(std::max(0, design.points)));
    std::iota(request.picks.begin(), request.picks.end(), 1);
    request.guarantee = Guarantee{design.strength, design.served};
    if (CheckRequest(request) != RequestError::None || design.blocks.empty())
        return false;
    std::vector<Ticket> tickets;
    tickets.reserve(design.blocks.size());
    for (PointMask block : design.blocks) {
        if (std::popcount(block) != kTicketSize || (block >> design.points) != 0)
            return false;
        Ticket ticket{};
        for (std::size_t i = 0; block != 0; block &= block - 1)
            ticket[i++] = std::countr_zero(block) + 1;
        tickets.push_back(ticket);
    }
    return VerifyWheel(request, tickets).passed();
}

StoredWheels::StoredWheels(std::vector<StoredDesign> designs)
    : m_designs(std::move(designs))
    , m_proofs(m_designs.size(), Proof::Unknown)
{
}

const StoredWheels& StoredWheels::BuiltIn()
{
    // A faulty built-in text keeps the designs before the fault; the proof still guards each one.
    static const StoredWheels table(ParseStoredDesigns(BuiltInWheelText()).designs);
    return table;
}

std::optional<StoredDesign> StoredWheels::find(const CoverProblem& problem) const
{
    if (problem.blockSize != kTicketSize)
        return std::nullopt;
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < m_designs.size(); ++i) {
        const StoredDesign& d = m_designs[i];
        if (d.points == problem.points && d.strength == problem.strength && d.served == problem.served)
            order.push_back(i);
    }
    std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return m_designs[a].blocks.size() < m_designs[b].blocks.size();
    });
    const std::lock_guard lock(m_mutex);
    for (const std::size_t i : order) {
        if (m_proofs[i] == Proof::Unknown)
            m_proofs[i] = ProveStoredDesign(m_designs[i]) ? Proof::Passed : Proof::Failed;
        if (m_proofs[i] == Proof::Passed)
            return m_designs[i];
    }
    return std::nullopt;
}

} // namespace zentrix::wheel
