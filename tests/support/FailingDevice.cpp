// FailingDevice: forwards to the native device, failing where the plan says.
#include "support/FailingDevice.h"

namespace zentrix::test {

FailingDevice::FailingDevice(std::shared_ptr<FailurePlan> plan)
    : m_inner(MakeNativeFileDevice())
    , m_plan(std::move(plan))
{
}

StoreStatus FailingDevice::open(const std::filesystem::path& path)
{
    return m_inner->open(path);
}
void FailingDevice::close()
{
    m_inner->close();
}
bool FailingDevice::isOpen() const
{
    return m_inner->isOpen();
}
std::int64_t FailingDevice::size() const
{
    return m_inner->size();
}
int FailingDevice::truncate(std::int64_t length)
{
    return m_inner->truncate(length);
}

int FailingDevice::readAt(std::int64_t offset, std::span<std::uint8_t> out)
{
    return m_plan->failReads ? EIO : m_inner->readAt(offset, out);
}

int FailingDevice::writeAt(std::int64_t offset, std::span<const std::uint8_t> data)
{
    std::int64_t& budget = m_plan->bytesBeforeWriteFailure;
    if (budget < 0)
        return m_inner->writeAt(offset, data);
    if (budget >= static_cast<std::int64_t>(data.size())) {
        budget -= static_cast<std::int64_t>(data.size());
        return m_inner->writeAt(offset, data);
    }
    const auto part = static_cast<std::size_t>(budget);
    budget = 0;
    if (part > 0)
        m_inner->writeAt(offset, data.first(part));
    return m_plan->writeError;
}

int FailingDevice::sync()
{
    return m_plan->failSync ? EIO : m_inner->sync();
}

} // namespace zentrix::test
