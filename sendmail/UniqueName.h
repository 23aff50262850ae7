// Names that no other message of any process or host will carry.
#pragma once

#include <string>

// "<UTC time to the microsecond>-<process id>-<random hex>": sorts by creation
// time, so that the outbox is sent oldest first.
std::string UniqueName();
