// The remote over hidapi's hidraw backend.
#include <hidapi/hidapi.h>

#include <mutex>

#include "platform/input/WiiTransport.h"

namespace {

constexpr unsigned short kVendorId = 0x057E;
constexpr unsigned short kProductId = 0x0306;

class HidWiiTransport final : public WiiTransport {
public:
    explicit HidWiiTransport(hid_device* device) : device_(device) {}
    ~HidWiiTransport() override { hid_close(device_); }

    int Read(unsigned char* buffer, std::size_t size, int timeoutMs) override {
        int n = hid_read_timeout(device_, buffer, size, timeoutMs);
        return n < 0 ? -1 : n;
    }
    bool Write(const unsigned char* report, std::size_t size) override { return hid_write(device_, report, size) >= 0; }
    // hidraw has one output path, which hid_write already takes: there is no
    // separate control-request write to fall back on.
    bool HasSetOutputReport() const override { return false; }
    int SetOutputReport(const unsigned char*, std::size_t) override { return kNotSupported; }

private:
    hid_device* device_;
};

class HidWiiDeviceFinder final : public WiiDeviceFinder {
public:
    std::unique_ptr<WiiTransport> OpenRemote() override {
        static std::once_flag once;
        static bool ready = false;
        std::call_once(once, [] { ready = hid_init() == 0; });
        if (!ready) return nullptr;
        hid_device_info* list = hid_enumerate(kVendorId, kProductId);
        hid_device* device = nullptr;
        for (hid_device_info* info = list; info && !device; info = info->next) {
            if (info->vendor_id == kVendorId && info->product_id == kProductId && info->path)
                device = hid_open_path(info->path);
        }
        hid_free_enumeration(list);
        if (!device) return nullptr;
        return std::make_unique<HidWiiTransport>(device);
    }
};

}  // namespace

std::unique_ptr<WiiDeviceFinder> MakeHidWiiDeviceFinder() { return std::make_unique<HidWiiDeviceFinder>(); }
