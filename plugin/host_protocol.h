// The host protocol as both sides speak it: the message codes the host sends a command entry and
// the kinds of result an entry writes back into the call record. The module answers these codes;
// a host (fighost) sends them. Declared once, here, beside the host library's own declarations.
#pragma once

#include <cstdint>

// Message codes of the host, compared for equality.
enum HostMessage : int {
    kMessageMainAction = 1,
    kMessageFileFilter = 8,
    kMessageAboutText = 16,
    kMessageSettings = 32,
    kMessageProperties = 128,
    kMessagePose = 512,
    kMessageIcon = 1024,
    kMessageDiscard = 8192,
};

// Result kinds written into a PluginCall.
constexpr int32_t kResultText = 1;
constexpr int32_t kResultInteger = 5;
