#pragma once

// The numeric values behind winsock.h's constants, under names that the system's socket macros
// (AF_INET, SOL_SOCKET, FIONREAD…) cannot clash with. The layer's sources include winsock.h
// before any system header and use these names.

namespace rv::ws {

inline constexpr int kAfInet = 2;
inline constexpr int kSockStream = 1;
inline constexpr int kSockDgram = 2;

inline constexpr int kIpProtoIp = 0;
inline constexpr int kIpProtoTcp = 6;
inline constexpr int kIpProtoUdp = 17;

inline constexpr int kSolSocket = 0xFFFF;
inline constexpr int kSoReuseAddr = 0x0004;
inline constexpr int kSoKeepAlive = 0x0008;
inline constexpr int kSoBroadcast = 0x0020;
inline constexpr int kSoLinger = 0x0080;
inline constexpr int kSoSndBuf = 0x1001;
inline constexpr int kSoRcvBuf = 0x1002;
inline constexpr int kTcpNoDelay = 0x0001;
inline constexpr int kIpMulticastTtl = 3;
inline constexpr int kIpAddMembership = 5;

inline constexpr long kFionRead = 0x4004667F;

}  // namespace rv::ws
