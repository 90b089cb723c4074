// Feeds arbitrary bytes to the radio data decoder as a record, and as a reply text to the "#R"
// piece reader, whose data and number go on to the decoder and the device list: nothing may
// crash, the reader's number and type never hold a space, and the list stays sorted with its
// index map in step.
#include "cp1251.h"
#include "null_log.h"
#include "radio_data.h"
#include "radio_device_list.h"
#include "radio_report.h"

#include <cstdint>
#include <cstdlib>
#include <span>

using namespace talvik::devices;
using namespace talvik::support;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NullLog log;
    static_cast<void>(DecodeRadioData(std::span(data, size), log));

    const QString text =
        Cp1251::toUnicode(QByteArrayView(reinterpret_cast<const char*>(data), size));
    RadioDeviceList list;
    for (const QString& piece : text.split(u'\n')) {
        const std::optional<RadioReport> report = RadioReport::read(piece);
        if (!report) {
            continue;
        }
        if (report->number.contains(u' ') || report->type.contains(u' ')) {
            std::abort();
        }
        static_cast<void>(DecodeRadioData(report->data, log));
        static_cast<void>(list.FindDeviceRow(report->number, true));
    }
    for (int row = 0; row < list.rowCount(); ++row) {
        if ((row > 0 && !(list.row(row - 1).number < list.row(row).number)) ||
            list.RowIndexMap.value(list.row(row).number, -1) != row) {
            std::abort();
        }
    }
    return 0;
}
