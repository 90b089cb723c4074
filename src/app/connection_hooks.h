#pragma once

#include <QString>
#include <functional>

namespace talvik::app {

class CPort;

// Where the connection hands what belongs to other features of the window: reply pieces,
// texts and progress of the connected controller, and the steps of a disconnect that touch
// their data. Each feature sets its own entries when the window is built; an entry left empty
// does nothing.
struct ConnectionHooks {
    // Replies of the connected controller.
    std::function<void(const QString& piece)> OnParameterReply; // "#P" pieces: settings values
    std::function<void(const QString& piece)> OnRadioReply;     // "#R" pieces: radio reports
    std::function<void(const QString& text)> OnTouchKeyReply;   // replies without '#': 1-Wire keys
    std::function<void(const QString& value)> UpdateThermometers; // S23 readings
    std::function<void(const QString& value)> OnRemovalReply;     // S64: radio device removal

    // The read decision, once the controller is identified (version and serial number known).
    std::function<void()> DecideRead;

    // Disconnect steps owned by the settings and radio features.
    std::function<void()> SaveLastSettings;
    std::function<void()> ClearRememberedSerial; // only after firmware from 1.66 on
    std::function<void()> ClearReadOffered;
    std::function<void()> ClearRadioList;

    // The radio learning countdown, run with every Timer1 tick.
    std::function<void()> OnRadioLearningTick;

    // Events of the connected port that belong to the terminal, the upload and settings batches.
    std::function<void(const QString& text)> ShowStatus;
    std::function<void(const QString& text)> OnText;
    std::function<void(int position)> SetProgress;
    std::function<void(int maximum)> SetProgressMax;
    std::function<void(const QString& text)> OnProgrammingEnd;
    std::function<void(CPort& port)> OnNoReply;
    std::function<void(CPort& port)> OnCommandSent;
    std::function<void(CPort& port)> OnQueueEnd;
};

} // namespace talvik::app
