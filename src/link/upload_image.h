#pragma once

#include "upload_kind.h"

#include <QByteArray>
#include <cstdint>

namespace talvik::link {

// A file as it travels to the controller: the bytes of the run and the file-type byte that
// chunk controllers get with every chunk.
struct UploadImage {
    // File types of the extended chunk controllers.
    static constexpr std::uint8_t kTypedImage = 2;
    static constexpr std::uint8_t kSoundsFile = 3;

    QByteArray data;
    // Controllers from 300 to 400 get no file type from the image; they are sent 0. File
    // controllers replace it with the one their open answer names.
    std::uint8_t fileType = 0;

    [[nodiscard]] static UploadImage Prepare(UploadKind kind, int hardwareNumber,
                                             const QByteArray& file);
    // Reads consecutive two-character hexadecimal numbers, as a loader firmware file holds
    // them: half as many bytes as the text has characters.
    [[nodiscard]] static QByteArray FromHexText(const QByteArray& text);
};

} // namespace talvik::link
