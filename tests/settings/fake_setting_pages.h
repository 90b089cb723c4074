#pragma once

#include "leading_integer.h"
#include "setting_pages.h"

#include <QList>
#include <QString>
#include <map>

// Settings pages without controls: each setting has a kind and the controller value it shows.
// A value put in as the user would marks the setting changed when it differs.
class FakeSettingPages final : public talvik::iface::SettingPages {
public:
    struct Setting {
        talvik::iface::SettingKind kind = talvik::iface::SettingKind::None;
        QString value;
        bool changed = false;
    };
    std::map<int, Setting> settings;
    int type = 406;
    int markRefreshes = 0;

    [[nodiscard]] int typeCode() const override { return type; }
    [[nodiscard]] QList<int> numbers() const override {
        QList<int> numbers;
        for (const auto& entry : settings) {
            numbers.append(entry.first);
        }
        return numbers;
    }
    [[nodiscard]] talvik::iface::SettingKind kind(int number) const override {
        return find(number).kind;
    }
    [[nodiscard]] talvik::iface::EditSpecial special(int) const override {
        return talvik::iface::EditSpecial::Plain;
    }
    [[nodiscard]] bool changed(int number) const override { return find(number).changed; }
    [[nodiscard]] QString value(int number) const override { return find(number).value; }
    [[nodiscard]] QString writtenValue(int number) const override { return value(number); }
    [[nodiscard]] QString heldValue(int) const override { return {}; }
    [[nodiscard]] QString shownText(int, const QString& value) const override { return value; }
    [[nodiscard]] int shownNumber(int number) const override {
        const Setting& setting = find(number);
        return setting.kind == talvik::iface::SettingKind::Edit
                   ? talvik::support::LeadingInteger(setting.value)
                   : 0;
    }
    void keep(int number) override { settings.try_emplace(number); }
    void dropUnshown() override {
        std::erase_if(settings, [](const auto& entry) {
            return entry.second.kind == talvik::iface::SettingKind::None;
        });
    }
    void markSent(int number) override {
        if (const auto found = settings.find(number); found != settings.end()) {
            found->second.changed = false;
        }
    }
    void markChanged(int number) override {
        if (const auto found = settings.find(number); found != settings.end()) {
            found->second.changed = true;
        }
    }
    void show(int number, const QString& value) override {
        if (const auto found = settings.find(number); found != settings.end()) {
            found->second.value = value;
            found->second.changed = false;
        }
    }
    void enter(int number, const QString& value, bool) override {
        if (const auto found = settings.find(number);
            found != settings.end() && found->second.value != value) {
            found->second.value = value;
            found->second.changed = true;
        }
    }
    void refreshChangeMarks() override { ++markRefreshes; }

private:
    [[nodiscard]] const Setting& find(int number) const {
        static const Setting none;
        const auto found = settings.find(number);
        return found != settings.end() ? found->second : none;
    }
};
