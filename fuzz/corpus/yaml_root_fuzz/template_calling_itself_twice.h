Templates:
  Twice:
    - Type: TemplateList
      Name: Twice
      Params:
        - [a]
        - [b]
Structure:
  - Type: TemplateList
    Name: Twice
    Params: [[x]]
