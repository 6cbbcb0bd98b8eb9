-- A small believable installation for the demo: three departments with a monthly, a daily and an
-- unlimited policy, interns without any policy, a few printers, and a month of print jobs.
-- Passwords are stored encoded as the login panel checks them: "senha123" for every demo user.

INSERT INTO grupo (cod_grupo, nome_grupo) VALUES
  (1, 'Administrativo'), (2, 'Engenharia'), (3, 'Diretoria'), (4, 'Estagiários');

INSERT INTO politica (cod_politica, cod_grupo, quota_infinita, quota_padrao) VALUES
  (1, 1, 0, 500),
  (2, 2, 0, 50),
  (3, 3, 1, 0);

INSERT INTO inicializacao (cod_politica, dia, mes) VALUES
  (1, 1, 0),  -- monthly
  (2, 0, 0),  -- daily
  (3, 1, 0);

INSERT INTO usuario (cod_usuario, login, password, cod_grupo) VALUES
  (1, 'ana.souza',   'c4d5a1dab59f6aa9', 1),
  (2, 'bruno.lima',  'c4d5a1dab59f6aa9', 2),
  (3, 'carla.dias',  'c4d5a1dab59f6aa9', 3),
  (4, 'diego.rocha', 'c4d5a1dab59f6aa9', 4);

INSERT INTO modp (cod_usuario, cod_politica, quota) VALUES
  (1, 1, 312),
  (2, 2, 12),
  (3, 3, 0);

INSERT INTO impressora (cod_impressora, nome_impressora, fila_virtual) VALUES
  (1, 'HP LaserJet 4250 - RH',  '\\\\srv-print\\rh'),
  (2, 'Ricoh MP C3004 - Eng',   '\\\\srv-print\\engenharia'),
  (3, 'Brother HL-L2350 - Dir', '\\\\srv-print\\diretoria');

INSERT INTO status_impressao (cod_status_impressao, nome_status, erro) VALUES
  (1, 'Impresso', NULL),
  (2, 'Cancelado pelo usuário', NULL),
  (3, 'Bloqueado - cota excedida', 'Cota insuficiente'),
  (4, 'Erro na impressora', 'Papel atolado');

INSERT INTO centro_custo (cod_centro_custo, nome_centro_custo) VALUES
  (0, 'Sem centro de custo'),
  (101, 'Administração'),
  (102, 'Financeiro'),
  (103, 'Recursos Humanos'),
  (201, 'Engenharia de Produto'),
  (202, 'Obras e Manutenção'),
  (301, 'Diretoria Executiva');

-- Four jobs a day for the last 30 days, spread over the users, printers, statuses and documents.
INSERT INTO impressoes (cod_usuario, cod_impressora, cod_status_impressao, data_impressao, hora_impressao,
                        nome_documento, paginas, estacao, obs, cod_centro_custo)
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 119)
SELECT 1 + (i MOD 4),
       1 + (i MOD 3),
       CASE WHEN i MOD 11 = 0 THEN 2 WHEN i MOD 17 = 0 THEN 3 WHEN i MOD 23 = 0 THEN 4 ELSE 1 END,
       CURRENT_DATE - INTERVAL (i DIV 4) DAY,
       SEC_TO_TIME(28800 + (i * 1777) MOD 36000),
       ELT(1 + (i MOD 8), 'Relatório mensal de vendas.xlsx', 'Contrato de prestação de serviços.docx',
           'Planta baixa - bloco C.pdf', 'Ata da reunião de diretoria.docx', 'Orçamento 2027.xlsx',
           'Folha de ponto.pdf', 'Apresentação institucional.pptx', 'Memorial descritivo.pdf'),
       1 + (i * 7) MOD 23,
       CONCAT('192.168.10.', 20 + (i MOD 4)),
       IF(i MOD 5 = 0, 'Cópia para o cliente', NULL),
       IF(i MOD 3 = 0, ELT(1 + (i MOD 6), 101, 102, 103, 201, 202, 301), NULL)
FROM n;
