#include "upload_image.h"

#include "programming_family.h"

#include <QtEndian>
#include <cctype>

namespace talvik::link {

namespace {
constexpr int kHexNumberWidth = 2;
// The leading text of a loader sound image.
const QByteArray kSoundsMark = QByteArrayLiteral("psnd");
// The type byte in front of a typed image.
constexpr char kFirmwareImage = 2;
constexpr char kProfileImage = 1;

// One number read the way a two-character "%X" conversion reads it: white space skipped, then
// at most two hexadecimal digits; 0 when there is no digit.
std::uint8_t HexNumberAt(const QByteArray& text, qsizetype at) {
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text.at(at)))) {
        ++at;
    }
    int value = 0;
    for (int digits = 0; digits < kHexNumberWidth && at < text.size(); ++digits, ++at) {
        const auto c = static_cast<unsigned char>(text.at(at));
        if (!std::isxdigit(c)) {
            break;
        }
        value = value * 16 + (std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10);
    }
    return static_cast<std::uint8_t>(value);
}
} // namespace

QByteArray UploadImage::FromHexText(const QByteArray& text) {
    QByteArray bytes(text.size() / kHexNumberWidth, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(HexNumberAt(text, i * kHexNumberWidth));
    }
    return bytes;
}

UploadImage UploadImage::Prepare(UploadKind kind, int hardwareNumber, const QByteArray& file) {
    if (UsesExtendedChunks(hardwareNumber)) {
        if (kind == UploadKind::Sounds) {
            return {file, kSoundsFile};
        }
        QByteArray data(1, kind == UploadKind::Firmware ? kFirmwareImage : kProfileImage);
        char length[4];
        qToLittleEndian(static_cast<std::uint32_t>(file.size()), length);
        data.append(length, sizeof length);
        data.append(file);
        return {data, kTypedImage};
    }
    if (FamilyForHardware(hardwareNumber) == ProgrammingFamily::File) {
        return {file, 0};
    }
    // Loader controllers and the chunk controllers up to 400.
    switch (kind) {
    case UploadKind::Firmware:
        return {FromHexText(file), 0};
    case UploadKind::Sounds:
        return {kSoundsMark + '\0' + file, 0};
    case UploadKind::Profile:
        break;
    }
    return {file, 0};
}

} // namespace talvik::link
