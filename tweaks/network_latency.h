// The network option: TcpAckFrequency = 1 on every TCP/IP interface in the registry.
#pragma once

#include "common/option_mask.h"
#include "config/write_result.h"

namespace kelvane {

// flag kRead (0) sets or clears kOptionNetworkLatency in `options` from the registry (the last interface decides;
// the bit is left alone when the Interfaces key cannot be opened) and succeeds; any other flag writes the bit's
// state to every interface and succeeds when every interface now matches (a registry refusal is RegistryRefused).
WriteResult NetworkLatencyTweak(OptionMask& options, int flag);

}  // namespace kelvane
