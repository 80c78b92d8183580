-- Exemplos de sites guardados; a tabela vem de QV_Links_schema.sql.
INSERT INTO Tabela1 (titulo1, url) VALUES ('Página inicial local', 'index.htm');
INSERT INTO Tabela1 (titulo1, url) VALUES ('Wikipédia em português', 'https://pt.wikipedia.org');
INSERT INTO Tabela1 (titulo1, url) VALUES ('Debian', 'https://www.debian.org');
INSERT INTO Tabela1 (titulo1, url) VALUES ('Qt', 'https://www.qt.io');
INSERT INTO Tabela1 (titulo1, url) VALUES ('SQLite', 'https://sqlite.org');
INSERT INTO Tabela1 (titulo1, url) VALUES ('Dicionário Priberam', 'https://dicionario.priberam.org');
INSERT INTO Tabela1 (titulo1, url) VALUES ('Previsão do tempo (INMET)', 'https://portal.inmet.gov.br');
INSERT INTO Tabela1 (titulo1, url) VALUES ('Software livre: GNU', 'https://www.gnu.org/home.pt-br.html');
