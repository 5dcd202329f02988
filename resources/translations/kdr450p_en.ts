<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>FirmwareCommand</name>
    <message numerus="yes">
        <source>Size:    %n byte(s)
</source>
        <translation>
            <numerusform>Size:    %n byte
</numerusform>
            <numerusform>Size:    %n bytes
</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FixturesCounterForm</name>
    <message numerus="yes">
        <source>%n Fixture Definition(s)</source>
        <translation>
            <numerusform>%n Fixture Definition</numerusform>
            <numerusform>%n Fixture Definitions</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n Fixture Definition(s)</source>
        <translation>
            <numerusform>%1 of %n Fixture Definition</numerusform>
            <numerusform>%1 of %n Fixture Definitions</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source> (%n Selected)</source>
        <translation>
            <numerusform> (%n Selected)</numerusform>
            <numerusform> (%n Selected)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LibraryCommand</name>
    <message numerus="yes">
        <source>%n channel(s)</source>
        <translation>
            <numerusform>%n channel</numerusform>
            <numerusform>%n channels</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1: loads, %n definition(s)
</source>
        <translation>
            <numerusform>%1: loads, %n definition
</numerusform>
            <numerusform>%1: loads, %n definitions
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n channel(s), the controller takes 1 to 45</source>
        <translation>
            <numerusform>%n channel, the controller takes 1 to 45</numerusform>
            <numerusform>%n channels, the controller takes 1 to 45</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LocalFixtureDefinitionEditForm</name>
    <message numerus="yes">
        <source>%n left</source>
        <translation>
            <numerusform>%n left</numerusform>
            <numerusform>%n left</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>QxfCatalogDialog</name>
    <message numerus="yes">
        <source>%n mode(s)</source>
        <translation>
            <numerusform>%n mode</numerusform>
            <numerusform>%n modes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) skipped</source>
        <translation>
            <numerusform>%n file skipped</numerusform>
            <numerusform>%n files skipped</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n fixture(s), %1 modes</source>
        <translation>
            <numerusform>%n fixture, %1 modes</numerusform>
            <numerusform>%n fixtures, %1 modes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n definition(s) added to the library</source>
        <translation>
            <numerusform>%n definition added to the library</numerusform>
            <numerusform>%n definitions added to the library</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>QxfCommand</name>
    <message numerus="yes">
        <source>%n channel(s)</source>
        <translation>
            <numerusform>%n channel</numerusform>
            <numerusform>%n channels</numerusform>
        </translation>
    </message>
</context>
</TS>
