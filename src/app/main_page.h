#pragma once

#include <QWidget>
#include <array>

class QFormLayout;
class QGroupBox;
class QVBoxLayout;

namespace talvik::app {

// The main page ("Главная") as the window lays it out: connection and status at the left with
// the settings actions and the restart below them, firmware upload and 1-Wire devices at the
// right, the terminal underneath. The page holds only the places; each panel builds its own
// group and puts it in its place.
class MainPage : public QWidget {
    Q_OBJECT
public:
    enum class Slot { Connection, Gsm, Power, Guard, Settings, Restart, Upload, Devices, Terminal };

    explicit MainPage(QWidget* parent = nullptr);

    // Puts a panel's group (or button) in its place on the page; the page takes it over.
    void place(Slot slot, QWidget* control);

    // The rows of a group on this page: captions at the left, fields growing to the right.
    static QFormLayout* formIn(QGroupBox* box);

private:
    [[nodiscard]] QWidget* placed(Slot slot) const;
    // The restart button stands as tall as the settings group beside it.
    void fitRestartToSettings();
    void orderFocus();

    std::array<QVBoxLayout*, static_cast<std::size_t>(Slot::Terminal) + 1> m_slots{};
};

} // namespace talvik::app
