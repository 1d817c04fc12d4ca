#pragma once

#include <cstdint>

// The states of the CDDB client (TCddb::State), which its owners follow after each event.
namespace rv {

inline constexpr std::int32_t cddbIdle = -1;
// The states of the line protocol's connection (TCddb::CddbpSocket): its answers lead through
// these; the client itself asks servers over HTTP.
inline constexpr std::int32_t cddbConnected = 0;
inline constexpr std::int32_t cddbHelloSent = 1;
inline constexpr std::int32_t cddbHandshakeDone = 2;
inline constexpr std::int32_t cddbProtocolAsked = 9;
inline constexpr std::int32_t cddbProtocolLevel5 = 10;
inline constexpr std::int32_t cddbClosing = 15;
inline constexpr std::int32_t cddbBannerReadOnly = 17;
inline constexpr std::int32_t cddbBannerReadWrite = 18;

inline constexpr std::int32_t cddbMatchChosen = 3;  // the chosen entry can be read
inline constexpr std::int32_t cddbMatchList = 4;    // list received, choosing
inline constexpr std::int32_t cddbNoMatch = 5;      // no match, query failed or choice cancelled
inline constexpr std::int32_t cddbQuerySent = 6;
inline constexpr std::int32_t cddbSitesSent = 7;  // also while the site lines arrive
inline constexpr std::int32_t cddbSitesReceived = 8;
inline constexpr std::int32_t cddbReadSent = 11;
inline constexpr std::int32_t cddbEntryRead = 12;
inline constexpr std::int32_t cddbReadFailed = 13;
inline constexpr std::int32_t cddbHttpFailed = 16;
inline constexpr std::int32_t cddbNoSiteInfo = 19;

// Submissions, by HTTP or by mail.
inline constexpr std::int32_t cddbSubmissionSent = 14;
inline constexpr std::int32_t cddbSubmissionFailed = 21;    // could not be sent
inline constexpr std::int32_t cddbSubmissionAccepted = 22;  // the server or mail server took it
inline constexpr std::int32_t cddbSubmissionRefused = 23;   // its header was found wanting

}  // namespace rv
