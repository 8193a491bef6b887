<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Guards</name>
    <message numerus="yes">
        <source>%1 source rows</source>
        <translation>
            <numerusform>%1 source row</numerusform>
            <numerusform>%1 source rows</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Plan</name>
    <message numerus="yes">
        <source>%1 rows</source>
        <translation>
            <numerusform>%1 row</numerusform>
            <numerusform>%1 rows</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 lines</source>
        <translation>
            <numerusform>%1 line</numerusform>
            <numerusform>%1 lines</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 table copies</source>
        <translation>
            <numerusform>%1 table copy</numerusform>
            <numerusform>%1 table copies</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 destination rows deleted</source>
        <translation>
            <numerusform>%1 destination row deleted</numerusform>
            <numerusform>%1 destination rows deleted</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 source rows read</source>
        <translation>
            <numerusform>%1 source row read</numerusform>
            <numerusform>%1 source rows read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 generators</source>
        <translation>
            <numerusform>%1 generator</numerusform>
            <numerusform>%1 generators</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 warnings</source>
        <translation>
            <numerusform>%1 warning</numerusform>
            <numerusform>%1 warnings</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 errors</source>
        <translation>
            <numerusform>%1 error</numerusform>
            <numerusform>%1 errors</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 statements</source>
        <translation>
            <numerusform>%1 statement</numerusform>
            <numerusform>%1 statements</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 in %2 blocks of the log</source>
        <translation>
            <numerusform>%1 in %2 block of the log</numerusform>
            <numerusform>%1 in %2 blocks of the log</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ProgressLine</name>
    <message numerus="yes">
        <source>%1: %2 rows in %3 s</source>
        <translation>
            <numerusform>%1: %2 row in %3 s</numerusform>
            <numerusform>%1: %2 rows in %3 s</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Run</name>
    <message numerus="yes">
        <source>db-dravik: the run was not started: its plan names %1 errors, and nothing was written.</source>
        <translation>
            <numerusform>db-dravik: the run was not started: its plan names %1 error, and nothing was written.</numerusform>
            <numerusform>db-dravik: the run was not started: its plan names %1 errors, and nothing was written.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Sizes</name>
    <message numerus="yes">
        <source>%1 (%2 bytes)</source>
        <translation>
            <numerusform>%1 (%2 byte)</numerusform>
            <numerusform>%1 (%2 bytes)</numerusform>
        </translation>
    </message>
</context>
</TS>
