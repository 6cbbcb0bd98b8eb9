-- The agent's database account, with the rights the agent uses and no others. Its password ships in
-- every copy of the program, so these rights are what protects the accounting data: the agent reads
-- the tables below, records its workstation in instancia, and sets a job's cost centre and observation.
-- Run as an administrator after the tables exist. '%' accepts the account from any address: put the
-- workstations' network in its place (for example 'corvellane'@'192.168.10.%') where it is known.
CREATE USER IF NOT EXISTS 'corvellane'@'%' IDENTIFIED BY 'mabel7';
GRANT SELECT ON CORVELLANE.usuario TO 'corvellane'@'%';
GRANT SELECT ON CORVELLANE.grupo TO 'corvellane'@'%';
GRANT SELECT ON CORVELLANE.politica TO 'corvellane'@'%';
GRANT SELECT ON CORVELLANE.inicializacao TO 'corvellane'@'%';
GRANT SELECT ON CORVELLANE.modp TO 'corvellane'@'%';
GRANT SELECT ON CORVELLANE.impressora TO 'corvellane'@'%';
GRANT SELECT ON CORVELLANE.status_impressao TO 'corvellane'@'%';
GRANT SELECT ON CORVELLANE.centro_custo TO 'corvellane'@'%';
GRANT SELECT, UPDATE (cod_centro_custo, obs) ON CORVELLANE.impressoes TO 'corvellane'@'%';
GRANT SELECT, INSERT, UPDATE ON CORVELLANE.instancia TO 'corvellane'@'%';
