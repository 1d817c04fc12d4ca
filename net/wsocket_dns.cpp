// Host name look-ups, answered through the hidden window.

#include "net/custom_wsocket.h"

namespace rv {

void TCustomWSocket::DnsLookup(const std::string& hostName) {
    if (hostName.empty()) {
        ReportError("DNS lookup: invalid host name.");
        DoDnsLookupDone(WSAEINVAL);
        return;
    }
    CancelDnsLookup();
    dnsResult_.clear();
    dnsResultList_.clear();
    const std::uint32_t address = inet_addr(hostName);
    if (address != INADDR_NONE) {
        dnsResult_ = inet_ntoa(address);
        DoDnsLookupDone(0);
        return;
    }
    dnsHostEntry_ = std::make_shared<THostEnt>();
    dnsLookupHandle_ =
        WSAAsyncGetHostByName(Handle(), WM_ASYNCGETHOSTBYNAME, hostName, dnsHostEntry_);
    if (dnsLookupHandle_ == 0)
        ReportErrorFmt("%s: can't start DNS lookup, error #%d", hostName.c_str(),
                       WSAGetLastError());
}

void TCustomWSocket::ReverseDnsLookup(const std::string& hostAddr) {
    if (hostAddr.empty() || hostAddr.size() >= 257) {
        ReportError("ReverseDnsLookup: Invalid host name.");
        DoDnsLookupDone(WSAEINVAL);
        return;
    }
    dnsHostEntry_ = std::make_shared<THostEnt>();
    dnsLookupHandle_ =
        WSAAsyncGetHostByAddr(Handle(), WM_ASYNCGETHOSTBYADDR, inet_addr(hostAddr), dnsHostEntry_);
    if (dnsLookupHandle_ == 0)
        ReportErrorFmt("%s: can't start DNS lookup, error #%d", hostAddr.c_str(),
                       WSAGetLastError());
}

void TCustomWSocket::CancelDnsLookup() {
    if (dnsLookupHandle_ == 0) return;
    const TAsyncHandle handle = dnsLookupHandle_;
    dnsLookupHandle_ = 0;
    dnsHostEntry_.reset();
    // An answer already on its way is dropped as well: it no longer matches the pending handle.
    if (WSACancelAsyncRequest(handle) == SOCKET_ERROR && WSAGetLastError() != WSAEALREADY) {
        SocketError("WSACancelAsyncRequest");
        return;
    }
    if (!Destroying()) DoDnsLookupDone(WSAEINTR);
}

void TCustomWSocket::WMAsyncLookup(const TMessage& msg, bool byName) {
    if (dnsLookupHandle_ == 0 || msg.WParam != dnsLookupHandle_) return;
    dnsLookupHandle_ = 0;
    const auto entry = std::move(dnsHostEntry_);
    const int error = WSAGETASYNCERROR(msg.LParam);
    if (error == 0 && entry) {
        dnsResultList_.clear();
        if (byName) {
            for (const std::uint32_t address : entry->h_addr_list)
                dnsResultList_.push_back(inet_ntoa(address));
        } else {
            dnsResultList_.push_back(entry->h_name);
        }
        if (!dnsResultList_.empty()) dnsResult_ = dnsResultList_.front();
    }
    DoDnsLookupDone(static_cast<std::uint16_t>(error));
}

}  // namespace rv
