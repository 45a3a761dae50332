// The network option: TcpAckFrequency = 1 on every TCP/IP interface in the registry.
#pragma once

#include "common/option_mask.h"

namespace kelvane {

// flag kRead (0) sets or clears kOptionNetworkLatency in `options` from the registry (the last interface decides;
// the bit is left alone when the Interfaces key cannot be opened) and returns true; any other flag writes the
// bit's state to every interface and returns whether every interface now matches.
bool NetworkLatencyTweak(OptionMask& options, int flag);

}  // namespace kelvane
