// WheelBatch: the note and the sets of a wheel batch.
#include "predictions/WheelBatch.h"

#include "wheel/WheelMessages.h"

#include <cstdio>

namespace zentrix {
namespace {

std::string TwoDigitList(const std::vector<int>& numbers)
{
    std::string text;
    for (const int n : numbers) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%02d", n);
        if (!text.empty())
            text += ' ';
        text += digits;
    }
    return text;
}

} // namespace

std::string WheelNote(const wheel::WheelRequest& request)
{
    std::string note =
        "組み合わせ保証 " + wheel::GuaranteeLabel(request.guarantee) + " 数字 " + TwoDigitList(request.picks);
    if (!request.keys.empty())
        note += " 軸 " + TwoDigitList(request.keys);
    return note;
}

NewBatch MakeWheelBatch(const wheel::WheelRequest& request, const std::vector<wheel::Ticket>& tickets,
                        int draw, std::int64_t createdAt)
{
    NewBatch batch;
    batch.createdAt = createdAt;
    batch.draw = draw;
    batch.source = BatchSource::Wheel;
    batch.seed = 0;
    batch.settings.setCount = static_cast<int>(tickets.size());
    batch.note = WheelNote(request);
    batch.sets.reserve(tickets.size());
    for (const wheel::Ticket& ticket : tickets) {
        PredictionSet set{};
        for (std::size_t i = 0; i < set.size(); ++i)
            set[i] = static_cast<std::int16_t>(ticket[i]);
        batch.sets.push_back(set);
    }
    return batch;
}

} // namespace zentrix
