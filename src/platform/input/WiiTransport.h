#pragma once
#include <cstddef>
#include <memory>

// The remote's link as the driver sees it: one opened HID device that reads
// input reports and writes output reports. The hidapi transport talks to a
// real remote; tests plug in an in-process fake.
class WiiTransport {
public:
    // Results of SetOutputReport, the error codes the driver reacts to.
    static constexpr int kOk = 0;
    static constexpr int kNotReady = 21;
    static constexpr int kNotSupported = 50;
    static constexpr int kBusy = 170;

    virtual ~WiiTransport() = default;

    // Waits up to timeoutMs for one input report. Returns its length, 0 when
    // none came in time, or -1 when the device failed or went away.
    virtual int Read(unsigned char* buffer, std::size_t size, int timeoutMs) = 0;
    // Writes one output report on the data channel; false when it failed.
    virtual bool Write(const unsigned char* report, std::size_t size) = 0;
    // Whether the transport can also send output reports as control requests.
    virtual bool HasSetOutputReport() const = 0;
    // Sends one output report as a control request: kOk or an error code.
    virtual int SetOutputReport(const unsigned char* report, std::size_t size) = 0;
};

// Finds the remote among the present HID devices and opens it.
class WiiDeviceFinder {
public:
    virtual ~WiiDeviceFinder() = default;
    // The opened remote, or null when none is present or it cannot be opened.
    virtual std::unique_ptr<WiiTransport> OpenRemote() = 0;
};

// The finder over hidapi's hidraw backend (vendor 0x057E, product 0x0306).
std::unique_ptr<WiiDeviceFinder> MakeHidWiiDeviceFinder();
