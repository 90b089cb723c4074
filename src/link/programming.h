#pragma once

#include "upload_kind.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>

namespace talvik::support {
class Clock;
}

namespace talvik::link {

class ComPort;

// One firmware, profile or sound upload over a link: prepares the file and moves it into the
// controller in the way its hardware number calls for, driven by the link's clock, by the
// loader's raw answer bytes and by the controller's framed replies. Reports through the
// link's events.
class Programming {
public:
    // The link's mode; every value other than Idle suspends the link's normal operation.
    enum class Mode : int {
        Idle = 0,
        Handshake = 1,    // restarting the controller into its loader
        Synchronised = 2, // the loader answered; records follow shortly
        Records = 3,      // loader firmware records
        Announcing = 4,   // a loader profile or sound set announced, its answer awaited
        Blocks = 5,       // loader profile or sound blocks
        Finishing = 6,    // the empty block sent, the loader is writing
        Opening = 10,     // the file controller's open request sent
        Chunks = 11,      // data chunks
    };

    // The result texts of a run's end.
    static inline const QString kFileNotFound = QStringLiteral("Файл не найден.");
    static inline const QString kNoAnswer = QStringLiteral("ОШИБКА. Нет ответа.");
    static inline const QString kOpenTimedOut = QStringLiteral("ОШИБКА открытия файла");
    static inline const QString kOpenRefused = QStringLiteral("Ошибка открытия файла");
    static inline const QString kTooLarge = QStringLiteral("Файл слишком большой");
    static inline const QString kWriteFailed = QStringLiteral("Ошибка записи файла");
    static inline const QString kNotFinished = QStringLiteral("ОШИБКА. Не завершено.");
    static inline const QString kLoaderDone = QStringLiteral("Программирование завершено успешно.");
    static inline const QString kFileDone = QStringLiteral("Прошивка завершена успешно");

    Programming(ComPort& port, support::Clock& clock);

    // Reads and prepares the file, then starts the run; a run already active is left alone.
    void Start(UploadKind kind, const QString& path);
    // Ends an active run with the given result text.
    void Cancel(const QString& text);

    // The link's clock, every 100 ms while a run is active.
    void Tick();
    // Bytes received while the loader answers in raw bytes.
    void OnRawBytes(std::span<const std::uint8_t> bytes);
    // A framed reply that is neither an announcement nor a text; false when the active run has
    // no use for it.
    [[nodiscard]] bool OnFrame(std::span<const std::uint8_t> payload);

    [[nodiscard]] Mode CurrentMode() const { return m_mode; }
    [[nodiscard]] bool Active() const { return m_mode != Mode::Idle; }
    // Received bytes are the loader's raw answers, not frames.
    [[nodiscard]] bool TakesRawBytes() const;
    // Inside the finishing pause: received bytes stay with the line until it is over.
    [[nodiscard]] bool HoldsReception() const { return m_pausing; }

private:
    void StartLoader(UploadKind kind);
    void StartFile(UploadKind kind, const QString& path);
    void StartChunks();

    // Raw answers, one handler per mode that takes them.
    void OnHandshakeAnswer(std::uint8_t answer);
    void OnRecordAnswer(std::uint8_t answer);
    void OnBlockAnswer(std::uint8_t answer);
    void OnFinishingAnswer(std::uint8_t answer);
    // Framed replies, one handler per reply.
    void OnAnnouncementAnswer(std::span<const std::uint8_t> payload);
    void OnOpenAnswer(std::span<const std::uint8_t> payload);
    void OnChunkAnswer(std::span<const std::uint8_t> payload);
    void OnCloseAnswer(std::span<const std::uint8_t> payload);

    void SendRecord();
    void SendBlock();
    void SendChunk();
    void FinishChunks();
    void SendFrame(const QByteArray& payload);
    void WriteRaw(const QByteArray& bytes);
    void End(const QString& text);

    [[nodiscard]] std::size_t Remaining() const;
    // Length of the image's leading zero-terminated text.
    [[nodiscard]] std::size_t LeadingTextLength() const;

    ComPort& m_port;
    support::Clock& m_clock;
    Mode m_mode = Mode::Idle;
    int m_countdown = 0;
    // Raw bytes still to come (echo included) before the next answer byte.
    std::int64_t m_expected = 0;
    QByteArray m_data;
    std::size_t m_pos = 0;
    // Loader: the block length the controller granted; chunks: the file-type byte.
    int m_block = 0;
    std::size_t m_lastLength = 0;
    int m_retries = 0;
    bool m_apply = false;
    bool m_extended = false;
    bool m_pausing = false;
};

} // namespace talvik::link
