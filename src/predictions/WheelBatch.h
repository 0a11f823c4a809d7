// WheelBatch: a proved wheel kept as a batch of predictions.
#pragma once

#include "predictions/PredictionBatch.h"
#include "wheel/WheelRequest.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zentrix {

/// "組み合わせ保証 3個一致で5等を保証（3 if 3） 数字 01 02 … 軸 07": what a wheel batch keeps in
/// place of settings and a seed.
std::string WheelNote(const wheel::WheelRequest& request);

/// The tickets as one batch for `draw` (Latest + 1): source Wheel, seed 0 (a wheel is not made
/// again from a seed), setCount the number of tickets, the note above.
NewBatch MakeWheelBatch(const wheel::WheelRequest& request, const std::vector<wheel::Ticket>& tickets,
                        int draw, std::int64_t createdAt);

} // namespace zentrix
