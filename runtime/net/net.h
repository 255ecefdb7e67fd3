// Networking inside the runtime: the public commands (<tmv/net.h>); the session record, the network
// thread and the packets are in net_session.h, net_dispatch.h and net_packet.h.
#pragma once

#include <tmv/net.h>
