<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>DeviceForm</name>
    <message numerus="yes">
        <source>%1 of %n slots used</source>
        <translation>
            <numerusform>%1 of %n slots used</numerusform>
            <numerusform>%1 of %n slots used</numerusform>
        </translation>
    </message>
</context>
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
    <name>ImportQxfCommand</name>
    <message numerus="yes">
        <source>added %n definition(s) to %1</source>
        <translation>
            <numerusform>added %n definition to %1</numerusform>
            <numerusform>added %n definitions to %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n file</numerusform>
            <numerusform>%n files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n empty mode(s)</source>
        <translation>
            <numerusform>%n empty mode</numerusform>
            <numerusform>%n empty modes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n mode(s) over --max-channels</source>
        <translation>
            <numerusform>%n mode over --max-channels</numerusform>
            <numerusform>%n modes over --max-channels</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n added mode(s) exceed the controller&apos;s %1 channels</source>
        <translation>
            <numerusform>%n added mode exceeds the controller&apos;s %1 channels</numerusform>
            <numerusform>%n added modes exceed the controller&apos;s %1 channels</numerusform>
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
    <name>LibraryForm</name>
    <message numerus="yes">
        <source>Add %n Fixture Definition(s)</source>
        <translation>
            <numerusform>Add %n Fixture Definition</numerusform>
            <numerusform>Add %n Fixture Definitions</numerusform>
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
    <name>MainWindow</name>
    <message numerus="yes">
        <source>Uploaded %n definition(s) to %1</source>
        <translation>
            <numerusform>Uploaded %n definition to %1</numerusform>
            <numerusform>Uploaded %n definitions to %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Upload cancelled after %1 of %n definition(s)</source>
        <translation>
            <numerusform>Upload cancelled after %1 of %n definition</numerusform>
            <numerusform>Upload cancelled after %1 of %n definitions</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Deleted %n definition(s) on %1</source>
        <translation>
            <numerusform>Deleted %n definition on %1</numerusform>
            <numerusform>Deleted %n definitions on %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Deletion cancelled after %1 of %n definition(s)</source>
        <translation>
            <numerusform>Deletion cancelled after %1 of %n definition</numerusform>
            <numerusform>Deletion cancelled after %1 of %n definitions</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Delete %n fixture definition(s) on %1?</source>
        <translation>
            <numerusform>Delete %n fixture definition on %1?</numerusform>
            <numerusform>Delete %n fixture definitions on %1?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1: %n channel(s)</source>
        <translation>
            <numerusform>%1: %n channel</numerusform>
            <numerusform>%1: %n channels</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Download cancelled after %1 of %n definition(s)</source>
        <translation>
            <numerusform>Download cancelled after %1 of %n definition</numerusform>
            <numerusform>Download cancelled after %1 of %n definitions</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Downloaded %n definition(s)</source>
        <translation>
            <numerusform>Downloaded %n definition</numerusform>
            <numerusform>Downloaded %n definitions</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 already holds %n of the selected definitions. Upload them again?</source>
        <translation>
            <numerusform>%1 already holds %n of the selected definitions. Upload them again?</numerusform>
            <numerusform>%1 already holds %n of the selected definitions. Upload them again?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Found %n controller(s)</source>
        <translation>
            <numerusform>Found %n controller</numerusform>
            <numerusform>Found %n controllers</numerusform>
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
        <source>%n definition(s) added to the library</source>
        <translation>
            <numerusform>%n definition added to the library</numerusform>
            <numerusform>%n definitions added to the library</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n empty mode(s) skipped</source>
        <translation>
            <numerusform>%n empty mode skipped</numerusform>
            <numerusform>%n empty modes skipped</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n fixture(s)</source>
        <translation>
            <numerusform>%n fixture</numerusform>
            <numerusform>%n fixtures</numerusform>
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
