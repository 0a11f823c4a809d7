// FailingDevice: a real file device that starts failing on purpose, for the store's error paths.
#pragma once

#include "store/FileDevice.h"

#include <cerrno>
#include <cstdint>
#include <memory>

namespace zentrix::test {

/// Forwards to the native device until told otherwise. Settings are shared through a handle so a
/// test can change them after the device has been moved into a HistoryFile.
struct FailurePlan
{
    /// Writes succeed until this many more bytes have been written; the write that crosses the
    /// limit writes up to it and then fails with `writeError` (a failing disk half-way through).
    std::int64_t bytesBeforeWriteFailure = -1; ///< -1: never fail
    int writeError = ENOSPC;
    bool failSync = false;
    bool failReads = false;
};

class FailingDevice final : public FileDevice
{
public:
    explicit FailingDevice(std::shared_ptr<FailurePlan> plan);

    StoreStatus open(const std::filesystem::path& path) override;
    void close() override;
    bool isOpen() const override;
    std::int64_t size() const override;
    int readAt(std::int64_t offset, std::span<std::uint8_t> out) override;
    int writeAt(std::int64_t offset, std::span<const std::uint8_t> data) override;
    int truncate(std::int64_t length) override;
    int sync() override;

private:
    std::unique_ptr<FileDevice> m_inner;
    std::shared_ptr<FailurePlan> m_plan;
};

} // namespace zentrix::test
