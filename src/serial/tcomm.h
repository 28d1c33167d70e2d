// TComm: one serial port on termios, with a watch thread that turns line events into
// callbacks. No Qt here: callbacks run on the watch thread and the owner decides how to
// hand data over to its own thread. Assign the callbacks while the port is closed, and
// never call Close from inside one (Close joins the watch thread).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

// ---- Exceptions (messages are UTF-8)

class ECommError : public std::runtime_error
{
public:
    explicit ECommError(const std::string &message) : std::runtime_error(message) {}
};

class ECommOpenError : public ECommError
{
public:
    explicit ECommOpenError(int32_t code, const std::string &detail = {});
    int32_t ErrorCode;
};

class ECommReadWriteError : public ECommError
{
public:
    // detail, when given, follows on its own line (the device and the reason).
    explicit ECommReadWriteError(uint32_t code, const std::string &detail = {});
    uint32_t ErrorCode;
};

// ---- Enumerations (ordinals are fixed)

enum TCommParityBits : uint8_t { cpbNone = 0, cpbOdd = 1, cpbEven = 2, cpbMark = 3, cpbSpace = 4 };
enum TCommByteSize : uint8_t { cbs4 = 0, cbs5 = 1, cbs6 = 2, cbs7 = 3, cbs8 = 4 };
enum TCommStopBits : uint8_t { csb1 = 0, csb15 = 1, csb2 = 2 };
enum TCommFlowControl : uint8_t { cfcDtrDsr = 0, cfcRtsCts = 1, cfcXonXoff = 2 };
using TCommFlowControls = uint8_t; // set of TCommFlowControl: bit 1 << ordinal
enum TCommEvent : uint8_t {
    evRxchar = 0, evRxflag = 1, evTxempty = 2, evCts = 3, evDsr = 4,
    evRlsd = 5, evBreak = 6, evErr = 7, evRing = 8, evPerr = 9
};
using TCommEventMask = uint16_t; // set of TCommEvent: bit 1 << ordinal

constexpr TCommFlowControls flowBit(TCommFlowControl f) { return TCommFlowControls(1u << f); }
constexpr TCommEventMask eventBit(TCommEvent e) { return TCommEventMask(1u << e); }

class TComm;

using TCommNotifyEvent = std::function<void(TComm &sender, TCommEventMask mask)>;
using TCommNotifyRxTxEvent = std::function<void(TComm &sender, uint16_t size)>;
// Called on the watch thread when a callback raised, or once when the device went away.
using TCommErrorEvent = std::function<void(TComm &sender, const std::string &message)>;

// Device paths of Port 1..4 ("COM1".."COM4"); defaults /dev/ttyS0../dev/ttyS3.
namespace PortMap {
void setPath(int port, const std::string &path);
std::string path(int port);
} // namespace PortMap

class TCommWatch;

class TComm
{
public:
    TComm();
    virtual ~TComm();
    TComm(const TComm &) = delete;
    TComm &operator=(const TComm &) = delete;

    // Properties (setters apply at once while open, except Port and the queue sizes).
    uint8_t Port() const { return port_; }
    void setPort(uint8_t port) { port_ = port; }
    int32_t BaudRate() const { return baudRate_; }
    void setBaudRate(int32_t baud);
    uint32_t BaudRateUserDefined() const { return baudRateUserDefined_; }
    void setBaudRateUserDefinedValue(uint32_t baud) { baudRateUserDefined_ = baud; }
    // Stores a 16-bit value and sets BaudRate to -1.
    void SetBaudRateUserDefined(uint16_t value);
    TCommParityBits ParityBits() const { return parity_; }
    void setParityBits(TCommParityBits p);
    TCommByteSize ByteSize() const { return byteSize_; }
    void setByteSize(TCommByteSize s);
    TCommStopBits StopBits() const { return stopBits_; }
    void setStopBits(TCommStopBits s);
    TCommFlowControls FlowControls() const { return flow_; }
    void setFlowControls(TCommFlowControls f);
    uint16_t InQueueSize() const { return inQueueSize_; }
    void setInQueueSize(uint16_t s) { inQueueSize_ = s; }
    uint16_t OutQueueSize() const { return outQueueSize_; }
    void setOutQueueSize(uint16_t s) { outQueueSize_ = s; }
    int32_t ReceiveNotifySize() const { return receiveNotifySize_; }
    void setReceiveNotifySize(int32_t s);
    int32_t SendNotifySize() const { return sendNotifySize_; }
    void setSendNotifySize(int32_t s);
    TCommEventMask EventMask() const { return eventMask_; }
    void setEventMask(TCommEventMask m);
    bool DsrState() const { return GetDsrState(); }

    TCommNotifyEvent OnCommEvent;
    TCommNotifyRxTxEvent OnCommReceive;
    TCommNotifyRxTxEvent OnCommTransmit;
    TCommErrorEvent OnCommError;

    void Open();
    void Close();
    bool IsOpen() const;
    // The device path Open uses for the current Port.
    std::string DevicePath() const;

    // Returns once the bytes are with the driver. A write the line does not take within
    // 1000 ms raises ECommReadWriteError; what could not go out by then is discarded.
    void Write(const void *buffer, int32_t count);
    // Waits up to 1000 ms for size bytes; returns how many came.
    int32_t Read(void *buffer, int32_t size);
    // For an owner that reads on its own thread: the descriptor to watch for input (-1
    // while closed), how many bytes wait now (-1 when the line cannot tell), and whether
    // the other end has gone.
    int Handle() const { return fd_.load(); }
    int32_t InQueue() const;
    bool HungUp() const;
    void SendString(const std::string &text);
    // Holds the break for 500 ms, blocking the calling thread.
    void SendBreak();
    bool GetDsrState() const;

    // Called on the watch thread (virtual so a subclass may observe them).
    virtual void DoCommEvent(TCommEventMask mask);
    virtual void DoCommReceive();
    virtual void DoCommTransmit();

private:
    friend class TCommWatch;
    enum class Setting { Raw, Baud, ByteSize, Parity, StopBits, Flow };
    // Reads the line settings, changes only the fields of one setting, writes them back.
    // A setting the driver refuses raises ECommReadWriteError.
    void applySetting(Setting which);
    // "device: reason" for the second line of an error message.
    std::string lineError(const std::string &reason) const;
    void applyLineSettings();
    // Makes the watch thread look at the event mask and the output queue again.
    void kickWatch();

    uint8_t port_ = 1;
    int32_t baudRate_ = 9600;
    uint32_t baudRateUserDefined_ = 9600;
    TCommParityBits parity_ = cpbNone;
    TCommByteSize byteSize_ = cbs8;
    TCommStopBits stopBits_ = csb1;
    TCommFlowControls flow_ = flowBit(cfcRtsCts);
    uint16_t inQueueSize_ = 4096;
    uint16_t outQueueSize_ = 4096;
    int32_t receiveNotifySize_ = 3072;
    int32_t sendNotifySize_ = 1024;
    std::atomic<TCommEventMask> eventMask_{0};

    std::atomic<int> fd_{-1};
    int wakeFd_ = -1;
    int pollFd_ = -1;
    std::atomic<bool> txPending_{false};
    // The input count the watch thread just asked for, so DoCommReceive need not ask again
    // (-1: ask).
    int reportedWaiting_ = -1;
    TCommWatch *watch_ = nullptr;
};
