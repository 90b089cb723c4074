#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace talvik::app {

class CPort;

// The attached controller as the whole program knows it: its port, what it said about itself
// (version reply, hardware number, serial number, device type) and whether it is identified,
// together with every event of its link as a signal. It lives as long as the program; features
// follow its signals and ask it, never a label, what state the controller is in.
class ControllerSession : public QObject {
    Q_OBJECT
public:
    explicit ControllerSession(QObject* parent = nullptr);
    ~ControllerSession() override;

    // The connected controller's port; null while none is connected.
    [[nodiscard]] CPort* port() const { return m_port.get(); }
    [[nodiscard]] bool isConnected() const { return m_port != nullptr; }
    [[nodiscard]] QString portName() const;
    // The controller's answer to the version query as it reads; empty until it came, and again
    // after an upload (the controller may run new firmware).
    [[nodiscard]] const QString& versionReply() const { return m_versionReply; }
    // The firmware configuration version taken from that answer ("2.19"); empty without one.
    [[nodiscard]] QString versionText() const;
    [[nodiscard]] int hardwareNumber() const;
    // The serial number the controller reported (status 54); empty until it did.
    [[nodiscard]] const QString& serialNumber() const { return m_serialNumber; }
    // The device type (its place in the type list) the hardware number selects, once identified.
    [[nodiscard]] std::optional<int> deviceType() const { return m_deviceType; }
    // Version and serial number are both known.
    [[nodiscard]] bool isIdentified() const;

    // Takes over the port a controller announced itself on.
    void attach(std::unique_ptr<CPort> port);
    // Lets the controller go: `disconnecting` while its port is still there, then `disconnected`.
    // Nothing happens while none is connected.
    void release();
    // Destroys ports let go earlier (at program close, when no event loop follows).
    void destroyReleasedPorts();

    // What the connected port received; CPort hands these on.
    void takeVersionReply(const QString& text);
    void takeReply(const QString& text);
    void takeProgrammingEnd(const QString& text);

Q_SIGNALS:
    // A scanned port heard a controller announce itself; whoever scans takes it over.
    void announced(talvik::app::CPort& port);
    void connected(const QString& portName);
    void versionReplyChanged(const QString& text);
    void serialNumberChanged(const QString& serial);
    // Version and serial number are known (again); features take in the controller's identity.
    void identified();
    // Right after `identified`, once every feature has taken it in: the settings may be read.
    void readDue();
    // The controller is about to be let go; its port and version are still there.
    void disconnecting();
    void disconnected();

    // Replies of the connected controller, piece by piece.
    void parameterReply(const QString& piece);
    void statusReply(int number, const QString& value);
    void radioReply(const QString& piece);
    // A reply that is no "#" piece: 1-Wire key touches.
    void keyTouched(const QString& text);

    // The other link events of the connected port.
    void textReceived(const QString& text);
    void statusShown(const QString& text);
    void progressMaximumSet(int maximum);
    void progressed(int position);
    void programmingEnded(const QString& text);
    void restarted();
    void lost();
    void waitRequested(int milliseconds);
    void pollDue();
    void noReply();
    void commandSent();
    void queueEnded();

private:
    void takeStatusPiece(const QString& piece);
    void reportIdentity();

    std::unique_ptr<CPort> m_port;
    // Ports let go from inside their own event handlers, destroyed once those have returned.
    std::vector<std::unique_ptr<CPort>> m_released;
    QString m_versionReply;
    QString m_serialNumber;
    std::optional<int> m_deviceType;
};

} // namespace talvik::app
