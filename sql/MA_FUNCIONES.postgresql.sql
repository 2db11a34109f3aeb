-- SQL Server's functions and comparisons for a PostgreSQL database of the suite.
--
-- The program and the suite write SQL Server SQL; the client rewrites it for
-- PostgreSQL. What a rewriting cannot express is here, with the server's
-- settings the suite uses: dates typed as dd/mm/yyyy, weeks beginning on Monday.
--
--   ma_datetime(x)              a date as the server reads it from text (dd/mm/yyyy, yyyy-mm-dd, yyyymmdd)
--   ma_dateadd / ma_datediff / ma_datepart   DATEADD, DATEDIFF (boundaries crossed), DATEPART
--   patindex, stuff, isnumeric, isdate, ma_round (ROUND's third argument)
--   text = number (and <>, <, >, <=, >=)   the text converted to the number, or
--                               SQL Server's conversion error, never a text comparison
--
-- Run once per company database, as the owner of its tables; running it again replaces
-- the functions and leaves the operators as they are.

CREATE OR REPLACE FUNCTION ma_datetime(x timestamp) RETURNS timestamp(3)
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT x $$;

CREATE OR REPLACE FUNCTION ma_datetime(x text, strict boolean DEFAULT true) RETURNS timestamp(3)
  LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  s text COLLATE "C" := x;
  p text[];
  t text[];
  y int; m int; d int;
  rest text;
  secs numeric := 0;
BEGIN
  IF x IS NULL THEN RETURN NULL; END IF;
  p := regexp_match(s, '^\s*(\d{4})([-/.])(\d{1,2})\2(\d{1,2})(?:[ T]+(.*?))?\s*$');
  IF p IS NOT NULL THEN
    y := p[1]::int; m := p[3]::int; d := p[4]::int; rest := p[5];
  ELSE
    p := regexp_match(s, '^\s*(\d{4})(\d{2})(\d{2})(?:\s+(.*?))?\s*$');
    IF p IS NOT NULL THEN
      y := p[1]::int; m := p[2]::int; d := p[3]::int; rest := p[4];
    ELSE
      p := regexp_match(s, '^\s*(\d{1,2})([-/.])(\d{1,2})\2(\d{4}|\d{2})(?:\s+(.*?))?\s*$');
      IF p IS NOT NULL THEN
        d := p[1]::int; m := p[3]::int; y := p[4]::int; rest := p[5];
        IF length(p[4]) = 2 THEN y := CASE WHEN y < 50 THEN 2000 + y ELSE 1900 + y END; END IF;
      END IF;
    END IF;
  END IF;
  IF p IS NOT NULL AND rest IS NOT NULL THEN
    t := regexp_match(rest, '^(\d{1,2}):(\d{2})(?::(\d{2})(\.\d+)?)?$');
    IF t IS NULL OR t[1]::int > 23 OR t[2]::int > 59 OR coalesce(t[3], '0')::int > 59 THEN
      p := NULL;
    ELSE
      secs := t[1]::int * 3600 + t[2]::int * 60 + coalesce(t[3], '0')::int
              + round(coalesce(('0' || t[4])::numeric, 0), 3);
    END IF;
  END IF;
  IF p IS NOT NULL AND m BETWEEN 1 AND 12 AND y BETWEEN 1 AND 9999
     AND d BETWEEN 1 AND extract(day FROM make_date(y, m, 1) + interval '1 month' - interval '1 day') THEN
    RETURN make_date(y, m, d) + secs * interval '1 second';
  END IF;
  IF NOT strict THEN RETURN NULL; END IF;
  RAISE EXCEPTION 'Conversion failed when converting date and/or time from character string.'
    USING ERRCODE = '22007';
END $$;

-- The datepart spelled out: DATEADD(dd, ...) and DATEADD(day, ...) alike.
CREATE OR REPLACE FUNCTION ma_datepart_name(part text) RETURNS text
  LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
BEGIN
  CASE lower(part)
    WHEN 'year', 'yy', 'yyyy' THEN RETURN 'year';
    WHEN 'quarter', 'qq', 'q' THEN RETURN 'quarter';
    WHEN 'month', 'mm', 'm' THEN RETURN 'month';
    WHEN 'dayofyear', 'dy', 'y' THEN RETURN 'dayofyear';
    WHEN 'day', 'dd', 'd' THEN RETURN 'day';
    WHEN 'week', 'wk', 'ww' THEN RETURN 'week';
    WHEN 'weekday', 'dw', 'w' THEN RETURN 'weekday';
    WHEN 'hour', 'hh' THEN RETURN 'hour';
    WHEN 'minute', 'mi', 'n' THEN RETURN 'minute';
    WHEN 'second', 'ss', 's' THEN RETURN 'second';
    WHEN 'millisecond', 'ms' THEN RETURN 'millisecond';
    WHEN 'iso_week', 'isowk', 'isoww' THEN RETURN 'iso_week';
    ELSE RAISE EXCEPTION '''%'' is not a recognized datepart option.', part USING ERRCODE = '42601';
  END CASE;
END $$;

CREATE OR REPLACE FUNCTION ma_dateadd(part text, n numeric, x timestamp) RETURNS timestamp(3)
  LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  k bigint := trunc(n);
BEGIN
  IF n IS NULL OR x IS NULL THEN RETURN NULL; END IF;
  CASE ma_datepart_name(part)
    WHEN 'year' THEN RETURN x + make_interval(years => k::int);
    WHEN 'quarter' THEN RETURN x + make_interval(months => 3 * k::int);
    WHEN 'month' THEN RETURN x + make_interval(months => k::int);
    WHEN 'dayofyear', 'day', 'weekday' THEN RETURN x + k * interval '1 day';
    WHEN 'week' THEN RETURN x + k * interval '7 days';
    WHEN 'hour' THEN RETURN x + k * interval '1 hour';
    WHEN 'minute' THEN RETURN x + k * interval '1 minute';
    WHEN 'second' THEN RETURN x + k * interval '1 second';
    WHEN 'millisecond' THEN RETURN x + k * interval '1 millisecond';
    ELSE RAISE EXCEPTION 'The datepart % is not supported by date function dateadd.', part USING ERRCODE = '42601';
  END CASE;
END $$;

-- Boundaries crossed between a and b: DATEDIFF(year, '2024-12-31', '2025-01-01') is 1.
-- Weeks are counted by Sundays whatever the first day of the week, as the server counts them.
CREATE OR REPLACE FUNCTION ma_datediff(part text, a timestamp, b timestamp) RETURNS integer
  LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  ea numeric;
  eb numeric;
BEGIN
  IF a IS NULL OR b IS NULL THEN RETURN NULL; END IF;
  ea := extract(epoch FROM a) * 1000;
  eb := extract(epoch FROM b) * 1000;
  CASE ma_datepart_name(part)
    WHEN 'year' THEN RETURN extract(year FROM b) - extract(year FROM a);
    WHEN 'quarter' THEN
      RETURN (extract(year FROM b) * 4 + extract(quarter FROM b)) - (extract(year FROM a) * 4 + extract(quarter FROM a));
    WHEN 'month' THEN
      RETURN (extract(year FROM b) * 12 + extract(month FROM b)) - (extract(year FROM a) * 12 + extract(month FROM a));
    WHEN 'dayofyear', 'day', 'weekday' THEN RETURN b::date - a::date;
    WHEN 'week' THEN RETURN floor((b::date - date '1970-01-04') / 7.0) - floor((a::date - date '1970-01-04') / 7.0);
    WHEN 'hour' THEN RETURN floor(eb / 3600000) - floor(ea / 3600000);
    WHEN 'minute' THEN RETURN floor(eb / 60000) - floor(ea / 60000);
    WHEN 'second' THEN RETURN floor(eb / 1000) - floor(ea / 1000);
    WHEN 'millisecond' THEN RETURN round(eb - ea);
    ELSE RAISE EXCEPTION 'The datepart % is not supported by date function datediff.', part USING ERRCODE = '42601';
  END CASE;
END $$;

-- Weeks begin on Monday (the suite's DATEFIRST 1): weekday 1 is Monday, week 1 holds January 1st.
CREATE OR REPLACE FUNCTION ma_datepart(part text, x timestamp) RETURNS integer
  LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
BEGIN
  IF x IS NULL THEN RETURN NULL; END IF;
  CASE ma_datepart_name(part)
    WHEN 'year' THEN RETURN extract(year FROM x);
    WHEN 'quarter' THEN RETURN extract(quarter FROM x);
    WHEN 'month' THEN RETURN extract(month FROM x);
    WHEN 'dayofyear' THEN RETURN extract(doy FROM x);
    WHEN 'day' THEN RETURN extract(day FROM x);
    WHEN 'week' THEN
      RETURN (extract(doy FROM x)::int - 1 + extract(isodow FROM date_trunc('year', x))::int - 1) / 7 + 1;
    WHEN 'weekday' THEN RETURN extract(isodow FROM x);
    WHEN 'hour' THEN RETURN extract(hour FROM x);
    WHEN 'minute' THEN RETURN extract(minute FROM x);
    WHEN 'second' THEN RETURN floor(extract(second FROM x));
    WHEN 'millisecond' THEN RETURN floor(extract(milliseconds FROM x))::int % 1000;
    WHEN 'iso_week' THEN RETURN extract(week FROM x);
  END CASE;
END $$;

-- The accented letters the ranges of a LIKE class (its text between the brackets) hold in
-- the server's Spanish order, case ignored, though not by code point: [a-c] holds á, [m-o] ñ.
CREATE OR REPLACE FUNCTION ma_like_accented(members text) RETURNS text
  LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  m text COLLATE "C" := members;
  r text := '';
  k int := 2;
  lo text;
  hi text;
  x text;
BEGIN
  WHILE k < length(m) LOOP
    IF substr(m, k, 1) = '-' THEN
      lo := substr(m, k - 1, 1);
      hi := substr(m, k + 1, 1);
      FOREACH x IN ARRAY regexp_split_to_array('áàâäãåéèêëíìîïóòôöõúùûüýÿñç', '') LOOP
        IF NOT (x COLLATE "C" BETWEEN lower(lo) AND lower(hi))
           AND x COLLATE "es-x-icu" BETWEEN lower(lo) AND upper(hi) THEN
          r := r || x;
        END IF;
      END LOOP;
      k := k + 1;
    END IF;
    k := k + 1;
  END LOOP;
  RETURN r;
END $$;

-- A LIKE pattern of the server ('%', '_', [a-f], [^0-9], [%], an ESCAPE character) as a
-- regular expression; no backslash escapes but the one ESCAPE names.
CREATE OR REPLACE FUNCTION ma_like_regex(pattern text, esc text DEFAULT NULL) RETURNS text
  LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  r text := '';
  p text COLLATE "C" := pattern;
  i int := 1;
  n int := length(pattern);
  c text;
  j int;
BEGIN
  IF pattern IS NULL THEN RETURN NULL; END IF;
  WHILE i <= n LOOP
    c := substr(p, i, 1);
    IF esc IS NOT NULL AND c = esc AND i < n THEN
      r := r || '[' || regexp_replace(substr(p, i + 1, 1), '([\\\]\^-])', '\\\1') || ']';
      i := i + 2;
      CONTINUE;
    ELSIF c = '%' THEN
      r := r || '.*';
    ELSIF c = '_' THEN
      r := r || '.';
    ELSIF c = '[' AND strpos(substr(p, i + 2), ']') > 0 THEN
      j := i + 1 + strpos(substr(p, i + 2), ']');
      r := r || '[' || CASE WHEN substr(p, i + 1, 1) = '^' THEN '^' || regexp_replace(substr(p, i + 2, j - i - 2), '([\\\]\[])', '\\\1', 'g')
                                 || ma_like_accented(substr(p, i + 2, j - i - 2))
                            ELSE regexp_replace(substr(p, i + 1, j - i - 1), '([\\\]\[^])', '\\\1', 'g')
                                 || ma_like_accented(substr(p, i + 1, j - i - 1)) END || ']';
      i := j + 1;
      CONTINUE;
    ELSE
      r := r || regexp_replace(c, '([.^$*+?()\[\]{}|\\])', '\\\1');
    END IF;
    i := i + 1;
  END LOOP;
  RETURN r;
END $$;

-- PATINDEX: where the pattern first matches, 1-based, letter case ignored; 0 when it does not.
CREATE OR REPLACE FUNCTION patindex(pattern text, x text) RETURNS integer
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT CASE WHEN left(pattern, 1) COLLATE "C" = '%'
    THEN regexp_instr(x COLLATE "es-x-icu", ma_like_regex(ltrim(pattern, '%')) || '$', 1, 1, 0, 'i')
    ELSE CASE WHEN x COLLATE "es-x-icu" ~* ('^' || ma_like_regex(pattern) || '$') THEN 1 ELSE 0 END END
$$;

CREATE OR REPLACE FUNCTION stuff(x text, start integer, n integer, t text) RETURNS text
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT CASE WHEN start < 1 OR start > length(x) OR n < 0 THEN NULL
    ELSE overlay(x placing coalesce(t, '') from start for n) END
$$;

CREATE OR REPLACE FUNCTION isnumeric(x numeric) RETURNS integer
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT CASE WHEN x IS NULL THEN 0 ELSE 1 END $$;

CREATE OR REPLACE FUNCTION isnumeric(x text) RETURNS integer
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT CASE WHEN x COLLATE "C" ~ '^\s*([$£¥¢€]?[+-]?|[+-]?[$£¥¢€]?)(\d[\d,]*(\.\d*)?|\.\d+|,[\d,]*(\.\d*)?)([eE][+-]?\d+)?\s*$' THEN 1 ELSE 0 END
$$;

CREATE OR REPLACE FUNCTION isdate(x text) RETURNS integer
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT CASE WHEN ma_datetime(x, false) IS NULL THEN 0 ELSE 1 END
$$;

-- A datetime as text without a style (style 0 or 100): "mon dd yyyy hh:miAM", months in Spanish.
CREATE OR REPLACE FUNCTION ma_date_text(x timestamp) RETURNS text
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT (ARRAY['Ene', 'Feb', 'Mar', 'Abr', 'May', 'Jun', 'Jul', 'Ago', 'Sep', 'Oct', 'Nov', 'Dic'])[extract(month FROM x)::int]
    || ' ' || lpad(extract(day FROM x)::int::text, 2) || ' ' || to_char(x, 'YYYY') || ' '
    || lpad(to_char(x, 'FMHH12'), 2) || ':' || to_char(x, 'MIAM')
$$;

CREATE OR REPLACE FUNCTION ma_round(x numeric, places integer, f integer DEFAULT 0) RETURNS numeric
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT CASE WHEN coalesce(f, 0) = 0 THEN round(x, places) ELSE trunc(x, places) END
$$;

-- Text compared with a number is converted to the number's type, as SQL Server's type
-- precedence says; text that is not a number is the server's conversion error.
CREATE OR REPLACE FUNCTION ma_to_int(x text) RETURNS integer
  LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  -- A column's collation may be one that regular expressions refuse.
  s text COLLATE "C" := btrim(x, E' \t');
BEGIN
  IF x IS NULL THEN RETURN NULL; END IF;
  IF s = '' THEN RETURN 0; END IF;
  IF s ~ '^[+-]?\d+$' THEN
    BEGIN
      RETURN s::integer;
    EXCEPTION WHEN numeric_value_out_of_range THEN
      RAISE EXCEPTION 'The conversion of the varchar value ''%'' overflowed an int column.', x USING ERRCODE = '22003';
    END;
  END IF;
  RAISE EXCEPTION 'Conversion failed when converting the varchar value ''%'' to data type int.', x
    USING ERRCODE = '22018';
END $$;

CREATE OR REPLACE FUNCTION ma_to_decimal(x text) RETURNS numeric
  LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  s text COLLATE "C" := btrim(x, E' \t');
BEGIN
  IF x IS NULL THEN RETURN NULL; END IF;
  IF s ~ '^[+-]?(\d+\.?\d*|\.\d+)$' THEN RETURN s::numeric; END IF;
  RAISE EXCEPTION 'Error converting data type varchar to numeric.' USING ERRCODE = '22018';
END $$;

DO $$
DECLARE
  op text;
  num text;
  conv text;
BEGIN
  FOREACH op IN ARRAY ARRAY['=', '<>', '<', '>', '<=', '>='] LOOP
    FOREACH num IN ARRAY ARRAY['integer', 'numeric'] LOOP
      conv := CASE num WHEN 'integer' THEN 'ma_to_int' ELSE 'ma_to_decimal' END;
      IF NOT EXISTS (SELECT 1 FROM pg_operator WHERE oprname = op AND oprleft = 'text'::regtype
                     AND oprright = num::regtype) THEN
        EXECUTE format('CREATE FUNCTION %I(a text, b %s) RETURNS boolean LANGUAGE sql IMMUTABLE AS '
                       '$f$ SELECT %s(a) %s b $f$', 'ma_text_' || md5(op) || '_' || num, num, conv, op);
        EXECUTE format('CREATE OPERATOR %s (LEFTARG = text, RIGHTARG = %s, FUNCTION = %I)', op, num,
                       'ma_text_' || md5(op) || '_' || num);
      END IF;
      IF NOT EXISTS (SELECT 1 FROM pg_operator WHERE oprname = op AND oprleft = num::regtype
                     AND oprright = 'text'::regtype) THEN
        EXECUTE format('CREATE FUNCTION %I(a %s, b text) RETURNS boolean LANGUAGE sql IMMUTABLE AS '
                       '$f$ SELECT a %s %s(b) $f$', 'ma_' || num || '_' || md5(op) || '_text', num, op, conv);
        EXECUTE format('CREATE OPERATOR %s (LEFTARG = %s, RIGHTARG = text, FUNCTION = %I)', op, num,
                       'ma_' || num || '_' || md5(op) || '_text');
      END IF;
    END LOOP;
  END LOOP;
END $$;
