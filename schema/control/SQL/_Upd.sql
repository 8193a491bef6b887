-- Первый скрипт: выполняется на БД-приемнике до очистки таблиц.
-- Каждое событие с владельцем обновляет его последний проход; при переносе
-- журнала это лишняя работа: владельцы переносятся со своим значением.
ALTER TRIGGER EVENTS_AI_LASTPASS INACTIVE

-- Состояния устройств приемника относятся к удаляемым строкам.
DELETE FROM STATE_VALUES

-- Таблицы приемника очищаются полностью, так что новые ключи начинаются с 1.
SET GENERATOR GEN_HOSTS TO 0
{***}
SET GENERATOR GEN_CONTROLLERS TO 0
{***}
SET GENERATOR GEN_PCN TO 0
{***}
SET GENERATOR GEN_CINPUTS TO 0
{***}
SET GENERATOR GEN_SLAVES TO 0
{***}
SET GENERATOR GEN_OUTPUTS TO 0
{***}
SET GENERATOR GEN_INPUTS TO 0
{***}
SET GENERATOR GEN_READERS TO 0
{***}
SET GENERATOR GEN_MACROSES TO 0
{***}
SET GENERATOR GEN_CARDGROUPS TO 0
{***}
SET GENERATOR GEN_KRONTUR TO 0
