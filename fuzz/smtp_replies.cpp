// Fuzz target: the SMTP client's line framing and dialogue on arbitrary server bytes.
// The first byte sets how many bytes each read delivers and how many each send takes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "mail/SmtpSession.h"

namespace {

using namespace keywright;

class FuzzSocket : public SmtpSocket {
public:
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t readSize = 1;
    std::size_t sendSize = 1;
    std::string sent;
    bool open = false;

    int Open() override {
        open = true;
        return 0;
    }
    int Resolve(const std::string&, std::uint32_t* address) override {
        *address = 0x0100007F;
        return 0;
    }
    int WatchEvents() override { return 0; }
    int Connect(std::uint32_t, std::uint16_t) override { return kSocketWouldBlock; }
    int Send(const char* bytes, std::size_t count, std::size_t* taken) override {
        *taken = count < sendSize ? count : sendSize;
        sent.append(bytes, *taken);
        return 0;
    }
    int Receive(char* bytes, std::size_t count, std::size_t* received) override {
        std::size_t n = readSize < size ? readSize : size;
        if (n > count)
            n = count;
        for (std::size_t i = 0; i < n; ++i)
            bytes[i] = static_cast<char>(data[i]);
        data += n;
        size -= n;
        *received = n;
        return 0;
    }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }
    std::string LocalAddress() override { return "127.0.0.1"; }
};

class FuzzUi : public SmtpSessionUi {
public:
    int sendRequests = 0;
    std::size_t longestRow = 0;
    void RequestSend() override { ++sendRequests; }
    void AddResponse(bool, const std::string& text) override {
        if (text.size() > longestRow)
            longestRow = text.size();
    }
    void SetStatus(unsigned, bool) override {}
    void ShowSocketError(const std::string&, int) override {}
    void Finish(bool) override {}
    void Trace(const std::string&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    CMailMessage message;
    message.senderAddress = "ann@example.com";
    message.toList = {{"bob@example.com", ""}};
    message.ccList = {{"carol@example.com", ""}};
    message.text = "Subject: x\r\n\r\nbody\r\n.\r\n";

    FuzzSocket socket;
    socket.readSize = (data[0] & 0x3F) * 64 + 1;
    socket.sendSize = (data[0] >> 6) * 8 + 1;
    socket.data = data + 1;
    socket.size = size - 1;
    FuzzUi ui;
    CSmtpSession session(socket, ui);
    CSmtpProtocol protocol(message, session);
    protocol.Start();
    if (!session.Connect("mail.example.com", 25, protocol))
        std::abort();
    while (socket.size > 0 && socket.open) {
        session.OnSocketEvent(kSocketEventRead, 0);
        for (int pumped = 0; ui.sendRequests > 0 && pumped < 100000; ++pumped) {
            --ui.sendRequests;
            session.OnSocketEvent(kSocketEventWrite, 0);
        }
    }
    session.OnSocketEvent(kSocketEventClose, 0);
    // No line is ever longer than the receive buffer, and a message counts as
    // accepted only once its whole text has gone out.
    if (ui.longestRow > SmtpLineBuffer::kCapacity)
        std::abort();
    if (protocol.accepted() && socket.sent.find(message.text) == std::string::npos)
        std::abort();
    return 0;
}
