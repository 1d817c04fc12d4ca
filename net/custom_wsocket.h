#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "net/wsocket_buffer.h"
#include "net/wsocket_types.h"
#include "platform/components/component.h"
#include "platform/sockets/winsock.h"

namespace rv {

// A non-blocking TCP or UDP socket driven by the messages of a hidden window it owns: every
// socket, look-up and close event arrives there and becomes one of its events, in the thread that
// created it, while that thread runs its message loop. Misuse is reported through ReportError (an
// ESocketException, or OnError when that is set); what happens on the network arrives as events
// with a socket error number. A socket made with `new` may free itself from one of its own events
// only through PostRelease.
class TCustomWSocket : public TComponent {
public:
    explicit TCustomWSocket(TComponent* owner);
    ~TCustomWSocket() override;

    std::string ClassName() const override { return "TCustomWSocket"; }

    // The hidden window and the socket (INVALID_SOCKET when none).
    HWND Handle() const { return handle_; }
    TSocket HSocket() const { return hSocket_; }

    TSocketState State() const { return state_; }
    int LastError() const { return lastError_; }
    // Bytes taken by Receive and ReceiveFrom since the connection began.
    std::int64_t ReadCount() const { return readCount_; }
    // Bytes waiting to be received.
    int RcvdCount() { return GetRcvdCount(); }

    // The remote side: a host name or dotted address, a port number or service name, a protocol
    // name or number. They may change only while closed, and must be set again after each close.
    const std::string& Addr() const { return addrStr_; }
    void SetAddr(const std::string& value);
    const std::string& Port() const { return portStr_; }
    virtual void SetPort(const std::string& value);
    const std::string& Proto() const { return protoStr_; }
    virtual void SetProto(const std::string& value);

    // The local side ("0.0.0.0" and "0": any); set again to these on each close.
    const std::string& LocalAddr() const { return localAddrStr_; }
    void SetLocalAddr(const std::string& value);
    const std::string& LocalPort() const { return localPortStr_; }
    void SetLocalPort(const std::string& value);

    TSocketSendFlags SendFlags();
    void SetSendFlags(TSocketSendFlags value);

    // Applied when a connection starts; Linger* and FlushTimeout are set back on each close.
    TSocketLingerOnOff LingerOnOff = wsLingerOn;
    int LingerTimeout = 0;  // seconds
    // The message pump for a socket living in a worker thread; both pumps serve the calling
    // thread's own messages here.
    bool MultiThreaded = false;
    bool MultiCast = false;
    std::string MultiCastAddrStr;
    int MultiCastIpTTL = 1;
    bool ReuseAddr = false;
    TWSocketOptions ComponentOptions;
    // Seconds FlushSendBuffer waits at most.
    int FlushTimeout = 60;

    const std::string& DnsResult() const { return dnsResult_; }
    const std::vector<std::string>& DnsResultList() const { return dnsResultList_; }

    std::string PeerAddr() { return GetPeerAddr(); }
    std::string PeerPort() { return GetPeerPort(); }

    TDataAvailable OnDataAvailable;
    TDataSent OnDataSent;
    TSessionClosed OnSessionClosed;
    TSessionAvailable OnSessionAvailable;
    TSessionConnected OnSessionConnected;
    TDnsLookupDone OnDnsLookupDone;
    TSendData OnSendData;
    TChangeState OnChangeState;
    TBgExceptionEvent OnBgException;
    TNotifyEvent OnError;

    // Opens the connection (TCP: completes with OnSessionConnected; UDP: at once).
    virtual void Connect();
    virtual void Close();
    // Close and free later, from the message loop.
    virtual void PostClose();
    virtual void PostRelease();
    // Closes at once, dropping whatever is not sent yet.
    virtual void AbortSocket();
    // Sends what is buffered, pumping messages, for at most FlushTimeout seconds.
    virtual void FlushSendBuffer();
    virtual void WaitUntilClosed();
    // Binds Addr:Port and listens (TCP: OnSessionAvailable for each incoming connection; UDP:
    // its datagrams arrive as data).
    virtual void Listen();
    // The caller's connection, for another socket's Dup; INVALID_SOCKET on failure.
    virtual TSocket Accept();
    virtual int Receive(void* buffer, int size);
    virtual std::string ReceiveStr();
    virtual int ReceiveFrom(void* buffer, int size, TSockAddrIn& from);
    // Buffers the bytes and sends what the connection takes now; the rest goes as room appears.
    // OnDataSent follows, from the message loop, once everything is sent. Returns len (0 for
    // none), or -1 when not connected.
    virtual int Send(const void* data, int len);
    virtual int SendTo(const TSockAddrIn& dest, const void* data, int len);
    virtual int SendStr(const std::string& text);
    // Looks the name up (OnDnsLookupDone with DnsResult and DnsResultList); a dotted address is
    // answered before the call returns.
    virtual void DnsLookup(const std::string& hostName);
    virtual void ReverseDnsLookup(const std::string& hostAddr);
    virtual void CancelDnsLookup();
    // The peer's address and port; "error" when not connected.
    virtual std::string GetPeerAddr();
    virtual std::string GetPeerPort();
    virtual int GetPeerName(TSockAddrIn& name);
    // The local port and address; "error" unless bound, listening or connected.
    virtual std::string GetBoundPort();
    virtual std::string GetBoundAddr();
    virtual int GetSockName(TSockAddrIn& name);
    // Takes over a connection from Accept.
    virtual void Dup(TSocket newHSocket);
    virtual void ShutDown(int how);
    virtual void PauseEvents();
    virtual void ResumeEvents();
    virtual void MessagePump();

protected:
    virtual void WndProc(TMessage& msg);
    virtual void ResetDefaults();
    virtual void DoClose(bool shut, std::uint16_t error);
    virtual int GetRcvdCount();
    virtual void BindLocal();
    // Hands one chunk of the send buffer to the system.
    virtual int SendChunk(const void* data, int len);
    void ReportErrorFmt(const char* format, ...) __attribute__((format(printf, 2, 3)));
    virtual void ReportError(const std::string& message);
    // Reports the last socket error of a call: "Error <code> in function <name>" and its text.
    void SocketError(const std::string& function);
    virtual void HandleMessageException(const std::exception& e);

    // Fire the events; DoDataAvailable tells whether a handler was there to take the data.
    virtual bool DoDataAvailable(std::uint16_t error);
    virtual void DoSessionAvailable(std::uint16_t error);
    virtual void DoSessionConnected(std::uint16_t error);
    virtual void DoSessionClosed(std::uint16_t error);
    virtual void DoDataSent(std::uint16_t error);
    virtual void DoChangeState(TSocketState oldState, TSocketState newState);
    virtual void DoDnsLookupDone(std::uint16_t error);
    virtual void DoError();
    void DoSendData(std::int32_t bytesSent);

    // Receive straight from the socket.
    virtual int RecvRaw(void* buffer, int size, int flags);
    virtual int RecvFromRaw(void* buffer, int size, TSockAddrIn& from, int flags);

    void ChangeState(TSocketState newState);
    // Resolves what Connect and Listen need and is not resolved yet.
    void ResolveRemote();
    void SetLingerOption();
    void TryToSend();
    void DeleteBufferedData();
    bool AllSent() const { return allSent_; }

    // Taken before an event handler runs, and given to StillHere after it: whether the handler
    // freed the socket or changed its connection.
    std::weak_ptr<TSocket> Lifetime() const { return socketCell_; }
    static bool StillHere(const std::weak_ptr<TSocket>& cell, TSocket socket);

private:
    // The socket handle lives apart from the object, so that the code that runs on after an
    // event handler can tell, without touching the object, whether the handler freed it or
    // changed its connection.
    std::shared_ptr<TSocket> socketCell_ = std::make_shared<TSocket>(INVALID_SOCKET);

protected:
    // Held by the layers above for their own protocol (a proxy stands between us and Addr:Port).
    TSocket& hSocket_ = *socketCell_;
    TSockAddrIn sin_;  // the resolved remote address and port
    bool addrAssigned_ = false, addrResolved_ = false;
    bool portAssigned_ = false, portResolved_ = false;
    bool protoAssigned_ = false, protoResolved_ = false;
    int proto_ = IPPROTO_TCP;
    int socketType_ = SOCK_STREAM;
    bool closeInvoked_ = false;  // OnSessionClosed was fired for this connection

private:
    // Sets Addr, Port or Proto.
    void SetRemote(const std::string& value, std::string& text, bool& assigned, bool& resolved,
                   const char* closedOnly);
    // A new socket of the resolved type and protocol; false (reported) on failure.
    bool OpenSocket(const char* function);
    void WMASyncSelect(const TMessage& msg);
    void WMAsyncLookup(const TMessage& msg, bool byName);
    void ReceiveLoop(TWSocketOptions options, std::uint16_t error);
    void PutDataInSendBuffer(const void* data, int len);
    int TakeFromSocket(void* buffer, int size, int flags, TSockAddrIn* from);
    bool CloseOnSendError(int error);

    HWND handle_ = 0;
    TSocketState state_ = wsClosed;
    int lastError_ = 0;
    std::int64_t readCount_ = 0;
    std::int64_t bytesTaken_ = 0;  // received from the socket, for the receive loop

    std::string addrStr_, portStr_, protoStr_;
    std::string localAddrStr_, localPortStr_;
    std::uint16_t localPortNum_ = 0;
    bool localPortResolved_ = false;
    int sendFlags_ = 0;

    std::string dnsResult_;
    std::vector<std::string> dnsResultList_;
    TAsyncHandle dnsLookupHandle_ = 0;
    std::shared_ptr<THostEnt> dnsHostEntry_;

    std::deque<std::unique_ptr<TBuffer>> bufList_;
    int bufSize_ = 1460;
    bool allSent_ = true;
    bool paused_ = false;
    long selectEvent_ = 0;
};

}  // namespace rv
