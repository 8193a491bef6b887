-- ѕервый скрипт выполн€етс€ на Ѕƒ-приемнике до очистки таблиц (двоеточий здесь
-- нет, ведь слово после двоеточи€ стало бы параметром без значени€).
--  аждое событие с владельцем обновл€ет его последний проход; при переносе
-- журнала это лишн€€ работа, ведь владельцы перенос€тс€ со своим значением.
ALTER TRIGGER EVENTS_AI_LASTPASS INACTIVE

-- —осто€ни€ устройств приемника относ€тс€ к удал€емым строкам.
DELETE FROM STATE_VALUES

-- “аблицы приемника очищаютс€ полностью, так что новые ключи начинаютс€ с 1.
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
