-- Второй скрипт: выполняется на БД-приемнике после переноса таблиц.
-- За каждой командой следует секунда ожидания, поэтому команд здесь две.
ALTER TRIGGER EVENTS_AI_LASTPASS ACTIVE

-- Зоны заново: по одной за каждым рабочим считывателем.
INSERT INTO ZONES (ZN_ID, ZN_NAME, ZN_RD_ID)
SELECT RD_ID, RD_NAME, RD_ID FROM READERS WHERE RD_ARCHIVE = 0
