// WeightChart: hand-written SVG, one rect per number.
#include "WeightChart.h"

#include <algorithm>
#include <sstream>

namespace zentrix::cli {
namespace {

constexpr int kLeft = 70;
constexpr int kTop = 50;
constexpr int kBarPitch = 18;
constexpr int kBarWidth = 13;
constexpr int kPlotHeight = 260;
constexpr int kWidth = kLeft + kBarPitch * kNumberCount + 20;
constexpr int kHeight = kTop + kPlotHeight + 50;

} // namespace

std::string EscapeXml(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            // Control characters other than tab, newline and return are not allowed in XML 1.0.
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                out += c;
        }
    }
    return out;
}

std::string WeightChartSvg(const WeightTable& weights, std::string_view title)
{
    std::int64_t largest = 0;
    for (int n = kLowestNumber; n <= kHighestNumber; ++n)
        largest = std::max(largest, weights.weightOf(n));
    const int baseline = kTop + kPlotHeight;

    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << kHeight
        << "\" viewBox=\"0 0 " << kWidth << ' ' << kHeight << "\" font-family=\"sans-serif\">\n"
        << "  <title>" << EscapeXml(title) << "</title>\n"
        << "  <rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
        << "  <text x=\"" << kWidth / 2 << "\" y=\"28\" font-size=\"15\" text-anchor=\"middle\">"
        << EscapeXml(title) << "</text>\n"
        << "  <line x1=\"" << kLeft << "\" y1=\"" << kTop << "\" x2=\"" << kLeft << "\" y2=\"" << baseline
        << "\" stroke=\"black\"/>\n"
        << "  <line x1=\"" << kLeft << "\" y1=\"" << baseline << "\" x2=\"" << kWidth - 10 << "\" y2=\""
        << baseline << "\" stroke=\"black\"/>\n"
        << "  <text x=\"" << kLeft - 6 << "\" y=\"" << kTop + 4 << "\" font-size=\"11\" text-anchor=\"end\">"
        << largest << "</text>\n"
        << "  <text x=\"" << kLeft - 6 << "\" y=\"" << baseline + 4
        << "\" font-size=\"11\" text-anchor=\"end\">0</text>\n"
        << "  <text x=\"" << kWidth / 2 << "\" y=\"" << kHeight - 10
        << "\" font-size=\"12\" text-anchor=\"middle\">数字</text>\n";
    for (int n = kLowestNumber; n <= kHighestNumber; ++n) {
        const std::int64_t weight = weights.weightOf(n);
        const int height =
            largest > 0 ? static_cast<int>(
                              static_cast<double>(weight) / static_cast<double>(largest) * kPlotHeight + 0.5)
                        : 0;
        const int x = kLeft + 4 + (n - 1) * kBarPitch;
        svg << "  <rect x=\"" << x << "\" y=\"" << baseline - height << "\" width=\"" << kBarWidth
            << "\" height=\"" << height << "\" fill=\"steelblue\"><title>" << n << ": " << weight
            << "</title></rect>\n"
            << "  <text x=\"" << x + kBarWidth / 2 << "\" y=\"" << baseline + 16
            << "\" font-size=\"10\" text-anchor=\"middle\">" << n << "</text>\n";
    }
    svg << "</svg>\n";
    return svg.str();
}

} // namespace zentrix::cli
