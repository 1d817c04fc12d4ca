#pragma once

#include <cstdint>
#include <string>

namespace rv {

// Whether the text is a dotted IPv4 address: leading blanks, four decimal parts of at most 255
// joined by dots, trailing blanks.
bool WSocketIsDottedIP(const std::string& text);

// The address of a host name or dotted address, in network byte order; a name is looked up at
// once, blocking. Raises ESocketException.
std::uint32_t WSocketResolveHost(const std::string& host);

// The port number of a decimal port text or a service name of the protocol. Raises
// ESocketException, also for a number above 65535.
std::uint16_t WSocketResolvePort(const std::string& port, const std::string& proto);

// The number of a protocol given by number or name ("tcp", "udp"). Raises ESocketException.
int WSocketResolveProto(const std::string& proto);

// This machine's name. Raises ESocketException.
std::string LocalHostName();

}  // namespace rv
