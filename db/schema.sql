-- The accounting database as the print-accounting server keeps it: every table and column the agent
-- reads or writes, with the types it relies on. The server owns these tables; the agent never alters them.
-- quota_padrao (the quota shown to the user) lives in politica: it is the policy's standard quota.
-- No foreign keys: the server writes rows in its own order, and a job may outlive its printer's row.

CREATE TABLE grupo (
  cod_grupo  INT NOT NULL PRIMARY KEY,
  nome_grupo VARCHAR(35) NOT NULL
);

-- password: the encoded form, two or three hexadecimal digits per character. The login panel takes
-- passwords of up to 32,767 characters, so it may be 98,301 characters long: more than a VARCHAR holds.
CREATE TABLE usuario (
  cod_usuario INT NOT NULL PRIMARY KEY,
  login       VARCHAR(60) NOT NULL,
  password    MEDIUMTEXT NOT NULL DEFAULT '',
  cod_grupo   INT NULL,
  KEY usuario_login (login)
);

CREATE TABLE politica (
  cod_politica   INT NOT NULL PRIMARY KEY,
  cod_grupo      INT NOT NULL,
  quota_infinita INT NULL,
  quota_padrao   INT NULL,
  KEY politica_grupo (cod_grupo)
);

CREATE TABLE inicializacao (
  cod_politica INT NOT NULL,
  dia          INT NOT NULL,
  mes          INT NOT NULL,
  KEY inicializacao_politica (cod_politica)
);

CREATE TABLE modp (
  cod_usuario  INT NOT NULL,
  cod_politica INT NULL,
  quota        INT NULL,
  KEY modp_usuario (cod_usuario)
);

CREATE TABLE impressora (
  cod_impressora  INT NOT NULL PRIMARY KEY,
  nome_impressora VARCHAR(30) NOT NULL,
  fila_virtual    VARCHAR(80) NULL
);

CREATE TABLE status_impressao (
  cod_status_impressao INT NOT NULL PRIMARY KEY,
  nome_status          VARCHAR(50) NOT NULL,
  erro                 VARCHAR(100) NULL
);

CREATE TABLE centro_custo (
  cod_centro_custo  INT NOT NULL PRIMARY KEY,
  nome_centro_custo VARCHAR(150) NOT NULL
);

CREATE TABLE impressoes (
  cod_impressoes       INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  cod_usuario          INT NOT NULL,
  cod_impressora       INT NOT NULL,
  cod_status_impressao INT NOT NULL,
  data_impressao       DATE NOT NULL,
  hora_impressao       TIME NULL,
  nome_documento       VARCHAR(255) NOT NULL DEFAULT '',
  paginas              INT NULL,
  estacao              VARCHAR(35) NULL,
  obs                  VARCHAR(50) NULL,
  cod_centro_custo     INT NULL,
  KEY impressoes_usuario_data (cod_usuario, data_impressao)
);

CREATE TABLE instancia (
  ip          VARCHAR(15) NOT NULL,
  cod_usuario INT NOT NULL,
  KEY instancia_ip (ip)
);
