-- Configuração do Maravel Quorvane: uma única linha (id 1).
-- left e top em twips (15 twips = 1 pixel): 4500 x 1500 = 300 x 100 pixels.
CREATE TABLE Tabela1 (id INTEGER PRIMARY KEY, left INTEGER, top INTEGER, homeURL TEXT, homeTitulo TEXT, minimizado INTEGER);
INSERT INTO Tabela1 (id, left, top, homeURL, homeTitulo, minimizado)
VALUES (1, 4500, 1500, 'index.htm', 'Página inicial do Quorvane', 0);
