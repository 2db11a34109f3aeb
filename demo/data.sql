-- Sample data of the demo database (UTF-8). Company codes are right-aligned to 15
-- characters and voucher codes to 4, as the suite stores them.

-- Argentine jurisdictions by their tax-office code (15 is not used).
INSERT INTO ta_estados (codigo, Descripcion) VALUES
  ('0', 'Ciudad Autónoma de Buenos Aires'),
  ('1', 'Buenos Aires'),
  ('2', 'Catamarca'),
  ('3', 'Córdoba'),
  ('4', 'Corrientes'),
  ('5', 'Entre Ríos'),
  ('6', 'Jujuy'),
  ('7', 'Mendoza'),
  ('8', 'La Rioja'),
  ('9', 'Salta'),
  ('10', 'San Juan'),
  ('11', 'San Luis'),
  ('12', 'Santa Fe'),
  ('13', 'Santiago del Estero'),
  ('14', 'Tucumán'),
  ('16', 'Chaco'),
  ('17', 'Chubut'),
  ('18', 'Formosa'),
  ('19', 'Misiones'),
  ('20', 'Neuquén'),
  ('21', 'La Pampa'),
  ('22', 'Río Negro'),
  ('23', 'Santa Cruz'),
  ('24', 'Tierra del Fuego, Antártida e Islas del Atlántico Sur');

-- One company (code 1) carries a logo: demo/logo.png, put in by demo/render_sql.sh.
INSERT INTO P_MA_Empresas (IdEmpresa, NombreEmpresa, Calle, Numero, Piso, Dpto, Localidad, CodigoPostal, Telefono, eMail, CUIT, Actividad, Observaciones, IdProvincia, PideHonorarios, Imagen, P_Rubro, P_Zona) VALUES
  ('              1', 'Distribuidora del Litoral S.A.', 'Bv. Oroño', '1245', NULL, NULL, 'Rosario', 'S2000DSK', '(0341) 421-5500', 'administracion@dlitoral.com.ar', '30-71234567-1', 'Distribución mayorista de alimentos', 'Casa central. Depósito en Pérez.', '12', FALSE, {LOGO}, 'Alimentos', 'Litoral'),
  ('              2', 'Metalúrgica San Martín S.R.L.', 'Av. Rodríguez Peña', '3480', NULL, NULL, 'San Martín', 'B1650', '(011) 4753-2210', 'ventas@metsanmartin.com.ar', '30-70987654-2', 'Fabricación de piezas metálicas', NULL, '1', FALSE, NULL, 'Metalurgia', 'GBA Norte'),
  ('              3', 'Estudio Contable Pereyra & Asociados', 'Viamonte', '1560', '4', 'B', 'Ciudad Autónoma de Buenos Aires', 'C1055ABF', '(011) 4371-8890', 'estudio@pereyra-asoc.com.ar', '30-30654321-7', 'Servicios contables e impositivos', 'Liquida sueldos de varias empresas del grupo.', '0', TRUE, NULL, 'Servicios', 'Capital'),
  ('              4', 'Bodegas Valle de Uco S.A.', 'Ruta Provincial 89', 'km 12', NULL, NULL, 'Tunuyán', 'M5560', '(02622) 42-3100', 'contacto@bodegasvalleuco.com.ar', '30-50112233-1', 'Elaboración de vinos finos', NULL, '7', FALSE, NULL, 'Vitivinicultura', 'Cuyo'),
  ('              5', 'Transportes Patagónicos S.A.', 'Av. Olascoaga', '850', NULL, NULL, 'Neuquén', 'Q8300', '(0299) 448-7720', 'trafico@transpatagonicos.com.ar', '30-69876543-3', 'Transporte de cargas generales', NULL, '20', NULL, NULL, 'Logística', 'Patagonia'),
  ('              6', 'Yerbatera Misionera S.C.A.', 'Av. Libertad', '2150', NULL, NULL, 'Oberá', 'N3360', '(03755) 40-1180', 'info@yerbateramisionera.com.ar', '30-54321987-4', 'Cultivo y molienda de yerba mate', 'Secadero propio.', '19', FALSE, NULL, 'Agroindustria', 'NEA'),
  ('              7', 'Clínica Privada del Norte S.A.', 'San Martín', '640', '1', NULL, 'San Miguel de Tucumán', 'T4000', '(0381) 430-9900', 'rrhh@clinicadelnorte.com.ar', '30-60555123-4', 'Servicios de salud', 'Personal con guardias rotativas.', '14', TRUE, NULL, 'Salud', 'NOA'),
  ('              8', 'Ferretería Industrial Córdoba S.R.L.', 'Av. Colón', '3320', NULL, NULL, 'Córdoba', 'X5003', '(0351) 488-1020', 'compras@ferrecordoba.com.ar', '30-70111222-5', 'Venta de herramientas y ferretería industrial', NULL, '3', FALSE, NULL, 'Comercio', 'Centro'),
  ('              9', 'Consultora Andina S.A.', 'Caseros', '455', '2', 'A', 'Salta', 'A4400', '(0387) 421-3366', 'contacto@consultoraandina.com.ar', '30-71555666-5', 'Consultoría en sistemas de gestión', NULL, '9', TRUE, NULL, 'Servicios', 'NOA'),
  ('             10', 'Lácteos La Pampa Cooperativa Ltda.', 'Ruta Nacional 35', 'km 330', NULL, NULL, 'Santa Rosa', 'L6300', '(02954) 43-5540', 'administracion@lacteoslapampa.coop', '30-50998878-8', 'Industria láctea', NULL, '21', FALSE, NULL, 'Alimentos', 'Centro'),
  ('             11', 'Constructora Austral S.A.', 'Av. Kirchner', '1120', NULL, NULL, 'Río Gallegos', 'Z9400', '(02966) 42-7710', 'obras@constructoraaustral.com.ar', '30-64433221-3', 'Construcción de obras civiles', 'Obras en Santa Cruz y Tierra del Fuego.', '23', FALSE, NULL, NULL, 'Patagonia'),
  ('             12', 'Textil Entre Ríos S.A.', 'Galarza', '990', NULL, NULL, 'Concepción del Uruguay', 'E3260', '(03442) 42-6650', NULL, '30-58765432-2', 'Fabricación de hilados y tejidos', NULL, '5', NULL, NULL, 'Textil', NULL);

-- Suite settings.
INSERT INTO ta_configuracion (CLAVE, VALOR, valoraux, Grupo, PoliticaNegocio) VALUES
  ('MostrarStockenConsultas', 'SI', NULL, 'CONSULTAS', FALSE),
  ('TituloClientes', 'Clientes', NULL, 'VENTAS', FALSE),
  ('TituloProveedores', 'Proveedores', NULL, 'COMPRAS', FALSE),
  ('EXIGECLAVECONSULTALIKEARTICULOS', 'NO', NULL, 'CONSULTAS', FALSE),
  ('UsaConsultaLike', 'SI', NULL, 'CONSULTAS', FALSE),
  ('CantidadDecimales', '2', NULL, 'GENERAL', FALSE),
  ('UsaMultilesMonedas', 'NO', NULL, 'GENERAL', FALSE),
  ('UsaFacturaProforma', 'NO', NULL, 'VENTAS', FALSE),
  ('USACCOSTO', 'SI', NULL, 'CONTABILIDAD', FALSE),
  ('USA_STK_STOCK_UDKG', 'NO', NULL, 'STOCK', FALSE),
  ('UNIDADDEMEDIDA_M3', 'M3', NULL, 'STOCK', FALSE),
  ('UNIDADDEMEDIDA_BL', 'BL', NULL, 'STOCK', FALSE),
  ('UNIDADDEMEDIDA_KG', 'KG', NULL, 'STOCK', FALSE),
  ('PERIODO', '2024', 'Ejercicio 2024', 'CONTABILIDAD', FALSE),
  ('VALIDACODIGOBARRA', 'NO', NULL, 'STOCK', FALSE),
  ('CFondo', '15658734', NULL, 'SISTEMA', FALSE),
  ('CLetra', '0', NULL, 'SISTEMA', FALSE),
  ('ModuloOrdenDeTrabajo', 'NO', NULL, 'GENERAL', FALSE),
  ('V_ModificaCPrecio', 'SI', NULL, 'VENTAS', TRUE),
  ('C_ModificaCPrecio', 'NO', NULL, 'COMPRAS', TRUE),
  ('MADERERA', 'NO', NULL, 'MADERERA', FALSE),
  ('MAD_TIRAS', 'TIRAS', NULL, 'MADERERA', FALSE),
  ('MAD_P2', 'P2', NULL, 'MADERERA', FALSE),
  ('MAD_ML', 'ML', NULL, 'MADERERA', FALSE),
  ('MAD_M2', 'M2', NULL, 'MADERERA', FALSE),
  ('MAD_HOJAS', 'HOJAS', NULL, 'MADERERA', FALSE),
  ('MAD_ML_P2', 'ML/P2', NULL, 'MADERERA', FALSE),
  ('MAD_M2_P2', 'M2/P2', NULL, 'MADERERA', FALSE),
  ('MAD_ML_M2', 'ML/M2', NULL, 'MADERERA', FALSE),
  ('CuentaCtroDist', '5.1.01.003', NULL, 'CONTABILIDAD', FALSE),
  ('MaxDto', '15.5', NULL, 'VENTAS', TRUE),
  ('PideClave_StockNeg', 'SI', NULL, 'STOCK', TRUE),
  ('PideClave_MarkUpBase', 'NO', NULL, 'VENTAS', TRUE),
  ('PideClave_LimiteCredito', 'SI', NULL, 'VENTAS', TRUE),
  ('SS_BloqueoActivo', 'NO', NULL, 'SISTEMA', FALSE),
  ('Top_Default', '500', NULL, 'CONSULTAS', FALSE),
  ('TopConsArt', '1000', NULL, 'CONSULTAS', FALSE),
  ('Stk_Nivel1', '32768', NULL, 'CONSULTAS', FALSE),
  ('Stk_Nivel2', '16711680', NULL, 'CONSULTAS', FALSE),
  ('Stk_Nivel3', '255', NULL, 'CONSULTAS', FALSE),
  ('Stk_Nivel4', '0', NULL, 'CONSULTAS', FALSE),
  ('NOM_PCLASE1', 'Lista Mayorista', NULL, 'CONSULTAS', FALSE),
  ('NOM_PCLASE2', 'Lista Minorista', NULL, 'CONSULTAS', FALSE),
  ('NOM_PCLASE3', 'Lista Distribuidor', NULL, 'CONSULTAS', FALSE),
  ('NOMBRE', 'Grupo Litoral Holding S.A.', '', 'DATOS', FALSE),
  ('CALLE', 'Córdoba', '', 'DATOS', FALSE),
  ('NUMERO', '1452', '', 'DATOS', FALSE),
  ('PISO', '8', '', 'DATOS', FALSE),
  ('DEPARTAMENTO', 'C', '', 'DATOS', FALSE),
  ('LOCALIDAD', 'Rosario', '', 'DATOS', FALSE),
  ('CPOSTAL', 'S2000AWV', '', 'DATOS', FALSE),
  ('TELEFONO', '(0341) 447-2000', '', 'DATOS', FALSE),
  ('CUIT', '30-71234567-1', '', 'DATOS', FALSE);

-- ma_test is the login of the private test server.
INSERT INTO ta_usuarios (nombre, NombreCompleto, Administrador, UNegocio) VALUES
  ('admin', 'Administrador del sistema', 1, '1'),
  ('operador', 'Operador de carga', 0, '2'),
  ('ma_test', 'Usuario de pruebas', 1, '1');

-- Voucher types; the rows with an empty EMPRESA are the templates.
INSERT INTO V_TA_CPTE (EMPRESA, Codigo, Descripcion, Letra, Abreviatura, Talonario, ProximoNumero) VALUES
  ('', '   1', 'Factura A', 'A', 'FA', 0, 1),
  ('', '   2', 'Nota de Débito A', 'A', 'NDA', 0, 1),
  ('', '   3', 'Nota de Crédito A', 'A', 'NCA', 0, 1),
  ('', '   6', 'Factura B', 'B', 'FB', 0, 1),
  ('', '   7', 'Nota de Débito B', 'B', 'NDB', 0, 1),
  ('', '   8', 'Nota de Crédito B', 'B', 'NCB', 0, 1),
  ('', '  RC', 'Recibo', 'X', 'RC', 0, 1),
  ('', '  RM', 'Remito', 'R', 'RM', 0, 1),
  ('              1', '   1', 'Factura A', 'A', 'FA', 1, 101),
  ('              1', '   2', 'Nota de Débito A', 'A', 'NDA', 1, 101),
  ('              1', '   3', 'Nota de Crédito A', 'A', 'NCA', 1, 101),
  ('              1', '   6', 'Factura B', 'B', 'FB', 1, 101),
  ('              1', '   7', 'Nota de Débito B', 'B', 'NDB', 1, 101),
  ('              1', '   8', 'Nota de Crédito B', 'B', 'NCB', 1, 101),
  ('              1', '  RC', 'Recibo', 'X', 'RC', 1, 101),
  ('              1', '  RM', 'Remito', 'R', 'RM', 1, 101),
  ('              2', '   1', 'Factura A', 'A', 'FA', 2, 201),
  ('              2', '   2', 'Nota de Débito A', 'A', 'NDA', 2, 201),
  ('              2', '   3', 'Nota de Crédito A', 'A', 'NCA', 2, 201),
  ('              2', '   6', 'Factura B', 'B', 'FB', 2, 201),
  ('              2', '   7', 'Nota de Débito B', 'B', 'NDB', 2, 201),
  ('              2', '   8', 'Nota de Crédito B', 'B', 'NCB', 2, 201),
  ('              2', '  RC', 'Recibo', 'X', 'RC', 2, 201),
  ('              2', '  RM', 'Remito', 'R', 'RM', 2, 201),
  ('              3', '   1', 'Factura A', 'A', 'FA', 3, 301),
  ('              3', '   6', 'Factura B', 'B', 'FB', 3, 301),
  ('              3', '  RC', 'Recibo', 'X', 'RC', 3, 301);

INSERT INTO TA_COMPROBANTES (EMPRESA, Codigo, Descripcion, Tipo, Talonario, NumeroDesde, NumeroHasta) VALUES
  ('', '  FC', 'Factura de compra', 'C', 0, 1, 99999999),
  ('', '  NC', 'Nota de crédito de compra', 'C', 0, 1, 99999999),
  ('', '  OP', 'Orden de pago', 'C', 0, 1, 99999999),
  ('', '  FV', 'Factura de venta', 'V', 0, 1, 99999999),
  ('', ' PRE', 'Presupuesto', 'V', 0, 1, 99999999),
  ('              1', '  FC', 'Factura de compra', 'C', 4, 1, 99999999),
  ('              1', '  NC', 'Nota de crédito de compra', 'C', 4, 1, 99999999),
  ('              1', '  OP', 'Orden de pago', 'C', 4, 1, 99999999),
  ('              1', '  FV', 'Factura de venta', 'V', 4, 1, 99999999),
  ('              1', ' PRE', 'Presupuesto', 'V', 4, 1, 99999999),
  ('              2', '  FC', 'Factura de compra', 'C', 7, 1, 99999999),
  ('              2', '  NC', 'Nota de crédito de compra', 'C', 7, 1, 99999999),
  ('              2', '  OP', 'Orden de pago', 'C', 7, 1, 99999999),
  ('              2', '  FV', 'Factura de venta', 'V', 7, 1, 99999999),
  ('              2', ' PRE', 'Presupuesto', 'V', 7, 1, 99999999);

-- Fiscal years.
INSERT INTO MV_EJERCICIOS (EMPRESA, PERIODO, DESCRIPCION, FechaDesde, FechaHasta, Cerrado) VALUES
  ('', 2023, 'Ejercicio 2023', '2023-01-01', '2023-12-31', 0),
  ('', 2024, 'Ejercicio 2024', '2024-01-01', '2024-12-31', 0),
  ('', 2025, 'Ejercicio 2025', '2025-01-01', '2025-12-31', 0),
  ('              1', 2022, 'Ejercicio 2022', '2022-01-01', '2022-12-31', 1),
  ('              1', 2023, 'Ejercicio 2023', '2023-01-01', '2023-12-31', 1),
  ('              1', 2024, 'Ejercicio 2024', '2024-01-01', '2024-12-31', 0),
  ('              2', 2023, 'Ejercicio 2023', '2023-01-01', '2023-12-31', 1),
  ('              2', 2024, 'Ejercicio 2024', '2024-01-01', '2024-12-31', 0),
  ('              3', 2024, 'Ejercicio 2024', '2024-01-01', '2024-12-31', 0);

-- Stock shortages reported from the article lookup.
INSERT INTO V_MV_FALTANTES (FechaHora, IdArticulo, Descripcion, Usuario) VALUES
  ('2024-03-11 09:42:10', '                    A0004', 'Queso cremoso horma', 'operador'),
  ('2024-03-12 16:05:33', '                    B0002', 'Cerveza rubia lata 473 ml', 'admin');

-- Articles: reorder point and stock cover every colour level of the article lookup;
-- C0003 is suspended.
INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, IdFamilia, Unidad, PRECIO1, PRECIO2, PRECIO3, PUNTOPEDIDO, Stock, SUSPENDIDO, CodigoBarra) VALUES
  ('A0001', 'Leche entera sachet 1 l', '1010101', 'UN', 850.0, 990.0, 920.0, 0, 240, 0, '7790001000011'),
  ('A0002', 'Leche descremada sachet 1 l', '1010102', 'UN', 870.0, 1010.0, 940.0, 50, 120, 0, '7790001000028'),
  ('A0003', 'Queso rallado 150 g', '10102', 'UN', 1650.5, 1890.0, 1760.0, 20, 8, 0, '7790001000035'),
  ('A0004', 'Queso cremoso horma', '10102', 'KG', 5200.0, 6100.0, 5600.0, 10, 10, 0, NULL),
  ('A0005', 'Yogur bebible frutilla 1 l', '10103', 'UN', 1200.0, 1390.0, 1290.0, 0, 0, 0, '7790001000059'),
  ('A0006', 'Harina 000 x 1 kg', '10201', 'UN', 640.0, 760.0, 700.0, 100, 350, 0, '7790002000010'),
  ('A0007', 'Aceite de girasol 1,5 l', '10202', 'UN', 2350.0, 2790.0, 2550.0, 30, 12, 0, '7790002000027'),
  ('B0001', 'Vino Malbec 750 ml', '20101', 'UN', 3900.0, 4650.0, 4200.0, 24, 60, 0, '7790003000017'),
  ('B0002', 'Cerveza rubia lata 473 ml', '20102', 'UN', 1150.0, 1350.0, 1240.0, 48, 0, 0, '7790003000024'),
  ('B0003', 'Agua mineral sin gas 2 l', '20201', 'UN', 690.0, 820.0, 750.0, 0, 180, 0, '7790003000031'),
  ('B0004', 'Gaseosa cola 2,25 l', '20202', 'UN', 1890.0, 2200.0, 2050.0, 36, 40, 0, '7790003000048'),
  ('C0001', 'Detergente limón 750 ml', '301', 'UN', 980.0, 1150.0, 1060.0, 20, 5, 0, '7790004000016'),
  ('C0002', 'Lavandina 2 l', '302', 'UN', 760.0, 890.0, 820.0, 0, 75, 0, '7790004000023'),
  ('C0003', 'Limpiador de pisos lavanda 900 ml', '3', 'UN', 1100.0, 1290.0, 1190.0, 10, 15, 1, NULL);

INSERT INTO VT_CLIENTES (CODIGO, RAZON_SOCIAL, CONTACTO, CUIT, Localidad, Telefono, Dada_De_Baja) VALUES
  ('1001', 'Supermercado El Ahorro S.A.', 'Marcela Ibáñez', '30-71000111-2', 'Rosario', '(0341) 455-1200', 0),
  ('1002', 'Almacén Don Pedro', 'Pedro Giménez', '20-20345678-7', 'Funes', '(0341) 493-3311', 0),
  ('1003', 'Autoservicio La Esquina S.R.L.', 'Julieta Farías', '30-70888999-6', 'Villa Gobernador Gálvez', '(0341) 492-7788', 0),
  ('1012', 'Hotel Rosario Centro S.A.', 'Ricardo Núñez', '30-69111222-0', 'Rosario', '(0341) 424-0001', 0),
  ('1020', 'Comedor Escolar San José', 'Hermana Luisa', '30-55666777-9', 'Pérez', '(0341) 495-1010', 0),
  ('1121', 'Restaurante La Costanera', 'Gustavo Ferreyra', '27-27456123-9', 'Rosario', '(0341) 440-9090', 0),
  ('1200', 'Mayorista del Sur S.A.', 'Daniel Acosta', '30-71222333-4', 'Casilda', '(03464) 42-2020', 1),
  ('2001', 'Kiosco El Trébol', 'Ana Benítez', '23-23987654-5', 'San Lorenzo', '(03476) 42-5555', 0);

INSERT INTO VT_PROVEEDORES (CODIGO, RAZON_SOCIAL, CONTACTO, CUIT, Localidad, Dada_De_Baja) VALUES
  ('5001', 'Usina Láctea Santafesina S.A.', 'Carlos Bertone', '30-50444555-1', 'Rafaela', 0),
  ('5002', 'Molinos del Paraná S.A.', 'Silvia Rossi', '30-54777888-2', 'San Lorenzo', 0),
  ('5003', 'Cervecería del Litoral S.A.', 'Martín Ledesma', '30-60999000-3', 'Santa Fe', 0),
  ('5004', 'Envases Rosario S.R.L.', 'Lucía Paz', '30-70222444-8', 'Rosario', 0),
  ('5005', 'Química Limpia S.A.', 'Jorge Medina', '30-58111666-5', 'Córdoba', 0),
  ('5006', 'Distribuidora Norte (cerrada)', NULL, '30-51333777-0', 'Reconquista', 1);

INSERT INTO MA_CONTACTOS (Codigo, Nombre_y_Apellido, Domicilio, Localidad, Telefono) VALUES
  ('C001', 'María Laura Domínguez', 'Santa Fe 1820', 'Rosario', '(0341) 15-555-0101'),
  ('C002', 'Héctor Álvarez', 'Mitre 455', 'Funes', '(0341) 15-555-0202'),
  ('C003', 'Graciela O''Donnell', 'Pellegrini 1300', 'Rosario', '(0341) 15-555-0303'),
  ('C004', 'Sebastián Quiroga', 'Belgrano 78', 'Pérez', '(0341) 15-555-0404'),
  ('C005', 'Valeria Sosa', 'Urquiza 2010', 'Casilda', '(03464) 15-55-0505');

INSERT INTO V_TA_VENDEDORES (IDVENDEDOR, NOMBRE) VALUES
  ('1', 'Roberto Carrizo'),
  ('2', 'Mónica Aguirre'),
  ('3', 'Facundo Benítez'),
  ('4', 'Paula Herrera');

INSERT INTO V_TA_TECNICOS (IDTECNICO, NOMBRE) VALUES
  ('1', 'Ernesto Villalba'),
  ('2', 'Nicolás Ortiz'),
  ('3', 'Carla Romero');

INSERT INTO V_MA_MANTENIMIENTOS (CODIGO, DESCRIPCION) VALUES
  ('M01', 'Service de autoelevadores'),
  ('M02', 'Mantenimiento de cámaras de frío'),
  ('M03', 'Revisión de matafuegos'),
  ('M04', 'Limpieza de tanques de agua');

-- Trees: a code's children are the longer codes that start with it.
INSERT INTO V_TA_FAMILIAS (IDFAMILIA, DESCRIPCION) VALUES
  ('1', 'Alimentos'),
  ('101', 'Lácteos'),
  ('10101', 'Leches'),
  ('1010101', 'Leche entera'),
  ('1010102', 'Leche descremada'),
  ('10102', 'Quesos'),
  ('10103', 'Yogures'),
  ('102', 'Almacén'),
  ('10201', 'Harinas'),
  ('10202', 'Aceites'),
  ('2', 'Bebidas'),
  ('201', 'Con alcohol'),
  ('20101', 'Vinos'),
  ('20102', 'Cervezas'),
  ('202', 'Sin alcohol'),
  ('20201', 'Aguas'),
  ('20202', 'Gaseosas'),
  ('3', 'Limpieza'),
  ('301', 'Detergentes'),
  ('302', 'Lavandinas');

INSERT INTO MA_POSICIONES (IDPOSICION, DESCRIPCION) VALUES
  ('01', 'Dirección General'),
  ('0101', 'Gerencia de Administración'),
  ('010101', 'Contaduría'),
  ('010102', 'Tesorería'),
  ('0102', 'Gerencia Comercial'),
  ('010201', 'Ventas'),
  ('010202', 'Compras'),
  ('0103', 'Gerencia de Producción'),
  ('010301', 'Planta'),
  ('010302', 'Mantenimiento'),
  ('02', 'Asesoría externa'),
  ('0201', 'Asesoría legal');

INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES
  ('1', 'Administración'),
  ('11', 'Administración central'),
  ('12', 'Sucursal Rosario'),
  ('2', 'Comercialización'),
  ('21', 'Ventas mayoristas'),
  ('22', 'Ventas minoristas'),
  ('221', 'Local Centro'),
  ('222', 'Local Norte'),
  ('3', 'Producción'),
  ('31', 'Planta 1'),
  ('32', 'Planta 2');
