-- Demo database of the suite: the tables the company program and its lookups read.
-- One text for every engine; demo/render_sql.sh replaces the words in braces by the
-- engine's types: boolean, binary, currency, date and time, a numbered key and the
-- current moment; it also gives every VARCHAR column the collation that compares text
-- as the suite's server does.
-- Names the suite keeps as views (V_, VT_) are tables here unless they only read.

CREATE TABLE ta_estados (
  codigo VARCHAR(3) NOT NULL PRIMARY KEY,
  Descripcion VARCHAR(60) NOT NULL
);

CREATE TABLE P_MA_Empresas (
  IdEmpresa VARCHAR(15) NOT NULL PRIMARY KEY,
  NombreEmpresa VARCHAR(60) NOT NULL,
  Calle VARCHAR(60),
  Numero VARCHAR(10),
  Piso VARCHAR(5),
  Dpto VARCHAR(5),
  Localidad VARCHAR(50),
  CodigoPostal VARCHAR(10),
  Telefono VARCHAR(40),
  eMail VARCHAR(80),
  CUIT VARCHAR(13),
  Actividad VARCHAR(60),
  Observaciones VARCHAR(255),
  IdProvincia VARCHAR(3),
  PideHonorarios {BOOL},
  Imagen {BLOB},
  P_Rubro VARCHAR(40),
  P_Zona VARCHAR(30)
);

-- A company is looked up by its code without the blanks it is stored with
-- (LTRIM(RTRIM(IdEmpresa)) = '7'); an index on that expression finds it without
-- reading the whole table. The collation is the column's, which the comparison uses.
CREATE INDEX IX_P_MA_Empresas_Codigo ON P_MA_Empresas (LTRIM(RTRIM(IdEmpresa)) COLLATE ma_es);

CREATE TABLE ta_configuracion (
  CLAVE VARCHAR(50) NOT NULL PRIMARY KEY,
  VALOR VARCHAR(255),
  valoraux VARCHAR(255),
  Grupo VARCHAR(30),
  PoliticaNegocio {BOOL}
);

CREATE TABLE ta_usuarios (
  nombre VARCHAR(30) NOT NULL PRIMARY KEY,
  NombreCompleto VARCHAR(60),
  Administrador SMALLINT NOT NULL DEFAULT 0,
  UNegocio VARCHAR(4)
);

-- Per-company tables: rows with an empty EMPRESA are the templates copied to a new company.
CREATE TABLE V_TA_CPTE (
  EMPRESA VARCHAR(15) NOT NULL,
  Codigo VARCHAR(4) NOT NULL,
  Descripcion VARCHAR(50),
  Letra VARCHAR(1),
  Abreviatura VARCHAR(6),
  Talonario INTEGER,
  ProximoNumero INTEGER,
  PRIMARY KEY (EMPRESA, Codigo)
);

CREATE TABLE TA_COMPROBANTES (
  EMPRESA VARCHAR(15) NOT NULL,
  Codigo VARCHAR(4) NOT NULL,
  Descripcion VARCHAR(50),
  Tipo VARCHAR(1),
  Talonario INTEGER,
  NumeroDesde INTEGER,
  NumeroHasta INTEGER,
  PRIMARY KEY (EMPRESA, Codigo)
);

-- A new company's booklet number for a voucher code is the greatest over every
-- company's rows of that code: an index gives it without reading the whole table.
CREATE INDEX IX_V_TA_CPTE_Talonario ON V_TA_CPTE (Codigo, Talonario);
CREATE INDEX IX_TA_COMPROBANTES_Talonario ON TA_COMPROBANTES (Codigo, Talonario);

CREATE TABLE MV_EJERCICIOS (
  EMPRESA VARCHAR(15) NOT NULL,
  PERIODO INTEGER NOT NULL,
  DESCRIPCION VARCHAR(50),
  FechaDesde DATE,
  FechaHasta DATE,
  Cerrado SMALLINT NOT NULL DEFAULT 0,
  PRIMARY KEY (EMPRESA, PERIODO)
);

CREATE TABLE V_MV_FALTANTES (
  FechaHora {DATETIME},
  IdArticulo VARCHAR(25),
  Descripcion VARCHAR(60),
  Usuario VARCHAR(30)
);

-- Default lookups.
CREATE TABLE V_MA_ARTICULOS (
  IDARTICULO VARCHAR(25) NOT NULL PRIMARY KEY,
  DESCRIPCION VARCHAR(60) NOT NULL,
  IdFamilia VARCHAR(10),
  Unidad VARCHAR(5),
  PRECIO1 {MONEY},
  PRECIO2 {MONEY},
  PRECIO3 {MONEY},
  PUNTOPEDIDO NUMERIC(18,4) NOT NULL DEFAULT 0,
  Stock NUMERIC(18,4) NOT NULL DEFAULT 0,
  SUSPENDIDO SMALLINT NOT NULL DEFAULT 0,
  CodigoBarra VARCHAR(20)
);

CREATE VIEW VT_MA_ARTICULOS AS
  SELECT IDARTICULO, DESCRIPCION, IdFamilia, Unidad, PRECIO1, PRECIO2, PRECIO3, PUNTOPEDIDO, Stock,
         SUSPENDIDO
  FROM V_MA_ARTICULOS;

CREATE TABLE VT_CLIENTES (
  CODIGO VARCHAR(10) NOT NULL PRIMARY KEY,
  RAZON_SOCIAL VARCHAR(60) NOT NULL,
  CONTACTO VARCHAR(40),
  CUIT VARCHAR(13),
  Localidad VARCHAR(50),
  Telefono VARCHAR(40),
  Dada_De_Baja SMALLINT NOT NULL DEFAULT 0
);

CREATE TABLE VT_PROVEEDORES (
  CODIGO VARCHAR(10) NOT NULL PRIMARY KEY,
  RAZON_SOCIAL VARCHAR(60) NOT NULL,
  CONTACTO VARCHAR(40),
  CUIT VARCHAR(13),
  Localidad VARCHAR(50),
  Dada_De_Baja SMALLINT NOT NULL DEFAULT 0
);

CREATE TABLE MA_CONTACTOS (
  Codigo VARCHAR(6) NOT NULL PRIMARY KEY,
  Nombre_y_Apellido VARCHAR(60) NOT NULL,
  Domicilio VARCHAR(60),
  Localidad VARCHAR(50),
  Telefono VARCHAR(40)
);

CREATE TABLE V_TA_VENDEDORES (
  IDVENDEDOR VARCHAR(4) NOT NULL PRIMARY KEY,
  NOMBRE VARCHAR(40) NOT NULL
);

CREATE TABLE V_TA_TECNICOS (
  IDTECNICO VARCHAR(4) NOT NULL PRIMARY KEY,
  NOMBRE VARCHAR(40) NOT NULL
);

CREATE TABLE V_MA_MANTENIMIENTOS (
  CODIGO VARCHAR(6) NOT NULL PRIMARY KEY,
  DESCRIPCION VARCHAR(60) NOT NULL
);

CREATE VIEW VT_TA_CPTE AS
  SELECT Codigo, Descripcion, Letra FROM V_TA_CPTE WHERE EMPRESA = '';

-- Tree lookups: each code is followed by its longer sub-codes when sorted.
CREATE TABLE V_TA_FAMILIAS (
  IDFAMILIA VARCHAR(10) NOT NULL PRIMARY KEY,
  DESCRIPCION VARCHAR(50) NOT NULL
);

CREATE VIEW SS_V_TA_FAMILIAS AS SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS;

CREATE TABLE MA_POSICIONES (
  IDPOSICION VARCHAR(10) NOT NULL PRIMARY KEY,
  DESCRIPCION VARCHAR(50) NOT NULL
);

CREATE TABLE TA_CCOSTO (
  CODIGO VARCHAR(10) NOT NULL PRIMARY KEY,
  DESCRIPCION VARCHAR(50) NOT NULL
);

-- The companies' change history: one row per column a save changed
-- (Operacion A new, M changed), one row per deletion (B, the name as it was).
-- A logo is kept as "(imagen, N bytes)" with the SHA-256 of its bytes.
CREATE TABLE MA_EMPRESAS_HISTORIA (
  Id {IDENTITY},
  Momento {DATETIME} NOT NULL DEFAULT {AHORA},
  Usuario VARCHAR(128),
  Estacion VARCHAR(128),
  IdEmpresa VARCHAR(15) NOT NULL,
  Operacion VARCHAR(1) NOT NULL,
  Columna VARCHAR(128),
  ValorAnterior VARCHAR(4000),
  ValorNuevo VARCHAR(4000),
  HashAnterior VARCHAR(64),
  HashNuevo VARCHAR(64)
);
CREATE INDEX MA_EMPRESAS_HISTORIA_Empresa ON MA_EMPRESAS_HISTORIA (IdEmpresa, Momento);
