#pragma once

// Two pages: every kind of setting with its words, and a second page whose label repeats a
// word of the first.
inline constexpr char kTwoSettingsPages[] = R"(Structure:
  - Type: Tab
    Caption: Охрана
    Content:
      - Type: GroupBox
        Caption: Режим охраны
        Hint: Как ставится охрана
        Content:
          - Type: ComboList
            Values: [100]
            Contents:
              - - Режим постановки
                - [Обычный, Тихий]
            Hints:
              - Без звука сирены
          - Type: EditList
            Values: [101]
            Captions: [Задержка на вход]
      - Type: CheckBits
        Values: [102]
        Caption: Зоны
        Bits: [Двери, Капот]
      - Type: Table
        Values: [103, 104]
        Columns: [Порог]
        Lines: [Нижний, Верхний]
  - Type: Tab
    Caption: Связь
    Content:
      - Type: CheckList
        Values: [214]
        Captions: [Задержка SMS]
)";
