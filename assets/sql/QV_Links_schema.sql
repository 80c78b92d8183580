-- Tabela dos sites guardados do Maravel Quorvane.
-- titulo1 usa COLLATE NOCASE; o programa troca essa ordenação por uma
-- que também ignora acentos e caixa nas letras acentuadas.
CREATE TABLE Tabela1 (id INTEGER PRIMARY KEY AUTOINCREMENT, titulo1 TEXT COLLATE NOCASE, url TEXT);
