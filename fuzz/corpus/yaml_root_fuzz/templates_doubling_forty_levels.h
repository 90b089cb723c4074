Templates:
  T0:
    - Type: TemplateList
      Name: T1
      Params:
        - [a]
        - [b]
  T1:
    - Type: TemplateList
      Name: T2
      Params:
        - [a]
        - [b]
  T2:
    - Type: TemplateList
      Name: T3
      Params:
        - [a]
        - [b]
  T3:
    - Type: TemplateList
      Name: T4
      Params:
        - [a]
        - [b]
  T4:
    - Type: TemplateList
      Name: T5
      Params:
        - [a]
        - [b]
  T5:
    - Type: TemplateList
      Name: T6
      Params:
        - [a]
        - [b]
  T6:
    - Type: TemplateList
      Name: T7
      Params:
        - [a]
        - [b]
  T7:
    - Type: TemplateList
      Name: T8
      Params:
        - [a]
        - [b]
  T8:
    - Type: TemplateList
      Name: T9
      Params:
        - [a]
        - [b]
  T9:
    - Type: TemplateList
      Name: T10
      Params:
        - [a]
        - [b]
  T10:
    - Type: TemplateList
      Name: T11
      Params:
        - [a]
        - [b]
  T11:
    - Type: TemplateList
      Name: T12
      Params:
        - [a]
        - [b]
  T12:
    - Type: TemplateList
      Name: T13
      Params:
        - [a]
        - [b]
  T13:
    - Type: TemplateList
      Name: T14
      Params:
        - [a]
        - [b]
  T14:
    - Type: TemplateList
      Name: T15
      Params:
        - [a]
        - [b]
  T15:
    - Type: TemplateList
      Name: T16
      Params:
        - [a]
        - [b]
  T16:
    - Type: TemplateList
      Name: T17
      Params:
        - [a]
        - [b]
  T17:
    - Type: TemplateList
      Name: T18
      Params:
        - [a]
        - [b]
  T18:
    - Type: TemplateList
      Name: T19
      Params:
        - [a]
        - [b]
  T19:
    - Type: TemplateList
      Name: T20
      Params:
        - [a]
        - [b]
  T20:
    - Type: TemplateList
      Name: T21
      Params:
        - [a]
        - [b]
  T21:
    - Type: TemplateList
      Name: T22
      Params:
        - [a]
        - [b]
  T22:
    - Type: TemplateList
      Name: T23
      Params:
        - [a]
        - [b]
  T23:
    - Type: TemplateList
      Name: T24
      Params:
        - [a]
        - [b]
  T24:
    - Type: TemplateList
      Name: T25
      Params:
        - [a]
        - [b]
  T25:
    - Type: TemplateList
      Name: T26
      Params:
        - [a]
        - [b]
  T26:
    - Type: TemplateList
      Name: T27
      Params:
        - [a]
        - [b]
  T27:
    - Type: TemplateList
      Name: T28
      Params:
        - [a]
        - [b]
  T28:
    - Type: TemplateList
      Name: T29
      Params:
        - [a]
        - [b]
  T29:
    - Type: TemplateList
      Name: T30
      Params:
        - [a]
        - [b]
  T30:
    - Type: TemplateList
      Name: T31
      Params:
        - [a]
        - [b]
  T31:
    - Type: TemplateList
      Name: T32
      Params:
        - [a]
        - [b]
  T32:
    - Type: TemplateList
      Name: T33
      Params:
        - [a]
        - [b]
  T33:
    - Type: TemplateList
      Name: T34
      Params:
        - [a]
        - [b]
  T34:
    - Type: TemplateList
      Name: T35
      Params:
        - [a]
        - [b]
  T35:
    - Type: TemplateList
      Name: T36
      Params:
        - [a]
        - [b]
  T36:
    - Type: TemplateList
      Name: T37
      Params:
        - [a]
        - [b]
  T37:
    - Type: TemplateList
      Name: T38
      Params:
        - [a]
        - [b]
  T38:
    - Type: TemplateList
      Name: T39
      Params:
        - [a]
        - [b]
  T39:
    - Type: Nothing
Structure:
  - Type: Tab
    Caption: Main
    Content:
      - Type: TemplateList
        Name: T0
        Params: [[x]]
