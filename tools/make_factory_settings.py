#!/usr/bin/env python3
"""Writes the factory settings files data/Configs/<type>.set for the shipped interface description.

For every device type the settings window would build (as `talvik-iface plan` lists it) each
bound setting gets a factory value in the controller's own form, the form a ".set" file holds:

  Edit integer   the shown value plus the field's offset
  Edit double10  (the shown value plus the offset) x 10
  Edit texts     a JSON string (names, phones, voice phrases, table cells: empty unless listed)
  Combo          the code of the chosen item, or its position when the list has no codes
  Check          0 or 1 (every box is set explicitly; the service mode, 123, is off)
  Bits           the sum of the ticked boxes' bits

Settings 214 (report time) and 683 (restart time) are hours that the controller keeps in UTC:
the file holds the chosen hour minus the time zone of setting 447. Setting 314 (the login, read
only) is never written.

Usage (from the repository root, after building talvik-iface):
  tools/make_factory_settings.py build/bin/talvik-iface [data/Interface/interface.h] [data/Configs]
"""

import json
import subprocess
import sys
from pathlib import Path

TYPES = ["406", "412", "403", "414", "415"]
TIME_ZONE = 3  # setting 447, hours from UTC

# Shown values for the number fields; everything else gets 0 clamped to the field's limits.
NUMBERS = {
    101: 10, 102: 15, 103: 30, 104: 30, 113: 11.5, 117: 10, 204: 50, 217: 3, 218: 30,
    222: 5001, 224: 0, 225: 60, 226: 300, 234: 30, 372: 60, 373: 1, 447: TIME_ZONE,
    501: 30, 502: 60, 503: 500, 504: 30, 505: 5, 551: 60, 552: 10,
    685: 10, 686: 1.5, 687: 3, 690: 13.2, 692: 11.8, 693: 0, 696: 2,
}
NUMBERS.update({n: -40 for n in range(342, 352)})  # thermometer lower thresholds, degrees
NUMBERS.update({n: 85 for n in range(352, 362)})   # thermometer upper thresholds, degrees

TEXTS = {0: "Администратор"}
COMBO_POSITIONS = {214: 12, 683: 4}  # 12:00 report, 04:00 restart (local time)
ALL_BITS = {60}                      # the administrator's rights: everything
UTC_HOURS = (214, 683)
LOGIN = 314


def bound_fields(node):
    """Yields (setting, field) in creation order; table cells are plain Edit fields."""
    if isinstance(node, dict):
        if "setting" in node:
            yield node["setting"], node
        for column in node.get("settings", []) if node.get("type") == "Table" else []:
            for setting in column:
                yield setting, {"type": "Edit", "special": "plain"}
        for value in node.values():
            yield from bound_fields(value)
    elif isinstance(node, list):
        for item in node:
            yield from bound_fields(item)


def factory_value(setting, field):
    """The (key, value) of a setting element for one field."""
    kind = field["type"]
    if kind == "Edit":
        special = field.get("special", "plain")
        if special in ("integer", "double10"):
            low, high = field.get("limits", [0, 0])
            shown = NUMBERS.get(setting, min(max(0, low), high))
            assert low <= shown <= high, (setting, shown, low, high)
            value = shown + field.get("offset", 0)
            return "Edit", round(value * 10) if special == "double10" else value
        return "Edit", TEXTS.get(setting, "")
    if kind == "Combo":
        position = COMBO_POSITIONS.get(setting, 0)
        codes = field.get("codes")
        value = codes[position] if codes else position
        if setting in UTC_HOURS:
            value -= TIME_ZONE
        return "Combo", value
    if kind == "Check":
        return "Check", 0
    if kind == "Bits":
        return "Bits", (1 << len(field["bits"])) - 1 if setting in ALL_BITS else 0
    raise ValueError(f"setting {setting}: unknown kind {kind}")


def settings_file(iface_bin, description, device_type):
    plan = json.loads(subprocess.check_output(
        [iface_bin, "plan", "--type", device_type, "--version", "9.99", description]))
    fields = {}
    for setting, field in bound_fields(plan["content"]):
        fields[setting] = field  # a later control of the same number wins
    fields.pop(LOGIN, None)
    lines = [json.dumps({"HW": device_type}, ensure_ascii=False)]
    for setting in sorted(fields):
        key, value = factory_value(setting, fields[setting])
        lines.append(json.dumps({"Value": setting, key: value}, ensure_ascii=False))
    return "[\n " + ",\n ".join(lines) + "\n]\n"


def main(argv):
    if len(argv) < 2:
        sys.exit(__doc__)
    iface_bin = argv[1]
    description = argv[2] if len(argv) > 2 else "data/Interface/interface.h"
    out_dir = Path(argv[3] if len(argv) > 3 else "data/Configs")
    out_dir.mkdir(parents=True, exist_ok=True)
    for device_type in TYPES:
        text = settings_file(iface_bin, description, device_type)
        (out_dir / f"{device_type}.set").write_text(text, encoding="utf-8")
        print(f"{out_dir / device_type}.set: {text.count(chr(10)) - 3} settings")


if __name__ == "__main__":
    main(sys.argv)
