<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../../app/aboutdialog.ui" line="18"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_aboutdialog.h" line="81"/>
        <source>About KDR-450P Fixture Library Editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/aboutdialog.ui" line="21"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_aboutdialog.h" line="83"/>
        <source>About Brenlow PLV-300 Data Backup Tool.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/aboutdialog.ui" line="24"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_aboutdialog.h" line="86"/>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;About Brenlow KDR-450P Fixture Library Editor Dialog.&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/aboutdialog.ui" line="46"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_aboutdialog.h" line="89"/>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt; font-weight:600;&quot;&gt;KDR-450P Fixture Library Editor&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/aboutdialog.ui" line="57"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_aboutdialog.h" line="90"/>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/aboutdialog.ui" line="69"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_aboutdialog.h" line="91"/>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/aboutdialog.cpp" line="11"/>
        <source>Version %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DeviceForm</name>
    <message>
        <location filename="../../views/deviceform.ui" line="20"/>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/deviceform.ui" line="56"/>
        <source>Find Devices</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/deviceform.ui" line="116"/>
        <source>Delete the selected fixture definitions from the device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/deviceform.cpp" line="155"/>
        <source>Select all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/deviceform.cpp" line="160"/>
        <source>Clear selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/deviceform.cpp" line="163"/>
        <source>Copy selected to computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/deviceform.cpp" line="165"/>
        <source>Delete selected</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FirmwareUpdateDlg</name>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.ui" line="14"/>
        <source>KDR-450P Firmware Update Tool</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.ui" line="26"/>
        <source>&lt;html&gt;&lt;body&gt;&lt;p&gt;Click to discover connected KDR-450P devices&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.ui" line="29"/>
        <source>Discover Devices</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.ui" line="36"/>
        <source>PLV-300 Firmware Update Tool</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.ui" line="49"/>
        <source>Click to load an alternative update image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.ui" line="52"/>
        <source>Load Update File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.ui" line="130"/>
        <source>Click to update the firmware</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.ui" line="133"/>
        <source>Update Firmware</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.ui" line="140"/>
        <source>Close this window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.ui" line="143"/>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.cpp" line="50"/>
        <source>Default firmware update file loaded. Load </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.cpp" line="51"/>
        <location filename="../../firmware/firmwareupdatedialog.cpp" line="54"/>
        <source>alternative</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.cpp" line="52"/>
        <location filename="../../firmware/firmwareupdatedialog.cpp" line="55"/>
        <location filename="../../firmware/firmwareupdatedialog.cpp" line="57"/>
        <source> update file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.cpp" line="53"/>
        <source>No built-in firmware update file is available. Load an </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.cpp" line="56"/>
        <source>Load the </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.cpp" line="56"/>
        <source>default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.cpp" line="112"/>
        <source>KDR-450P #%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.cpp" line="178"/>
        <source>Open a Brenlow Update File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../firmware/firmwareupdatedialog.cpp" line="179"/>
        <source>BL2 fles (*.bl2)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FixturesCounterForm</name>
    <message>
        <location filename="../../views/widgets/fixturescounterform.ui" line="14"/>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/widgets/fixturescounterform.ui" line="44"/>
        <source>n of m Fixture Definitions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/widgets/fixturescounterform.ui" line="51"/>
        <source> (k Selected)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/widgets/fixturescounterform.cpp" line="36"/>
        <source>1 Fixture Definition</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/widgets/fixturescounterform.cpp" line="37"/>
        <source>%1 Fixture Definitions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/widgets/fixturescounterform.cpp" line="40"/>
        <source>%1 of %2 Fixture Definition</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/widgets/fixturescounterform.cpp" line="41"/>
        <source>%1 of %2 Fixture Definitions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/widgets/fixturescounterform.cpp" line="44"/>
        <source> (%1 Selected)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LibraryForm</name>
    <message>
        <location filename="../../views/libraryform.ui" line="14"/>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/libraryform.ui" line="90"/>
        <source>Filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/libraryform.ui" line="97"/>
        <source>Fixture Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/libraryform.ui" line="113"/>
        <source>Manufacturer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/libraryform.cpp" line="359"/>
        <source>New Fixture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/libraryform.cpp" line="477"/>
        <source>Select all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/libraryform.cpp" line="479"/>
        <source>Clear selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/libraryform.cpp" line="483"/>
        <source>Copy selected to KDR-450P</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/libraryform.cpp" line="488"/>
        <source>Add new fixture definition</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/libraryform.cpp" line="491"/>
        <source>Duplicate selected fixture definitions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/libraryform.cpp" line="494"/>
        <source>Delete selected fixture definitions</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LocalFixtureDefinitionEditForm</name>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="14"/>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="27"/>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="33"/>
        <source>Fixture Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="43"/>
        <source>Manufacturer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="53"/>
        <source>Fixture Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="61"/>
        <source>Moving Head</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="66"/>
        <source>Scanner</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="71"/>
        <source>LED Fixture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="76"/>
        <source>Color Chnager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="81"/>
        <source>Dimmer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="86"/>
        <source>Laser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="91"/>
        <source>Strobe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="96"/>
        <source>Hazer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="101"/>
        <source>Smoke</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="106"/>
        <source>Effect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="111"/>
        <source>Other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="120"/>
        <source>General Short</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="126"/>
        <source>Fixture Name Short</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="140"/>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="157"/>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="335"/>
        <source>Auto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="147"/>
        <source>Manufacturer Short</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="168"/>
        <source>Channels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="303"/>
        <source>Channel Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="313"/>
        <source>Channel Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.ui" line="323"/>
        <source>Channel Name Short</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../views/localfixturedefinitioneditform.cpp" line="292"/>
        <source>Channel %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../../app/mainwindow.ui" line="15"/>
        <location filename="../../app/mainwindow.cpp" line="114"/>
        <location filename="../../app/mainwindow_closing.cpp" line="23"/>
        <location filename="../../app/mainwindow_library.cpp" line="28"/>
        <location filename="../../app/mainwindow_library.cpp" line="45"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="346"/>
        <source>KDR-450P Fixture Library Editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="55"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="368"/>
        <source>Closing application</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="136"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="369"/>
        <source>Total Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="161"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="370"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="166"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="371"/>
        <source>Current Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="199"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="372"/>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="209"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="373"/>
        <source>Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="214"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="374"/>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="222"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="375"/>
        <source>toolBar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="231"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="347"/>
        <source>&amp;New Library</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="232"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="349"/>
        <source>Alt+N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="236"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="351"/>
        <source>&amp;Open Library</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="237"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="353"/>
        <source>Alt+O</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="241"/>
        <location filename="../../app/mainwindow.cpp" line="79"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="355"/>
        <source>Save Library</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="242"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="357"/>
        <source>Alt+S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="246"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="359"/>
        <source>Save Library as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="247"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="361"/>
        <source>Alt+Shift+S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="251"/>
        <location filename="../../app/mainwindow.cpp" line="82"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="363"/>
        <source>Import Library</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="255"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="364"/>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="258"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="365"/>
        <source>Discover Devices</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="261"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="366"/>
        <source>Update Firmware</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="264"/>
        <location filename="../../build/app/kdr_gui_autogen/include/ui_mainwindow.h" line="367"/>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.cpp" line="77"/>
        <source>New Library</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.cpp" line="78"/>
        <source>Open Library</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.cpp" line="80"/>
        <source>Save Library As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.cpp" line="84"/>
        <source>Upload selection to device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.cpp" line="86"/>
        <source>Download selection to computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.cpp" line="106"/>
        <source>Unnamed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow_closing.cpp" line="23"/>
        <source>The library has been modified.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow_closing.cpp" line="24"/>
        <source>Do you want to save your changes?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow_library.cpp" line="38"/>
        <source>The current library has been modified
Do you want to save the changes?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow_library.cpp" line="52"/>
        <location filename="../../app/mainwindow_library.cpp" line="128"/>
        <source>The file %1 seems to be rather large.
Do you want to continue anyway?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow_library.cpp" line="123"/>
        <location filename="../../app/mainwindow_library.cpp" line="220"/>
        <source>Open Fixture Definition Library</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow_library.cpp" line="124"/>
        <location filename="../../app/mainwindow_library.cpp" line="221"/>
        <source>Brenlow Fixture Libraries (*.blfl)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow_library.cpp" line="135"/>
        <location filename="../../app/mainwindow_library.cpp" line="153"/>
        <location filename="../../app/mainwindow_library.cpp" line="227"/>
        <location filename="../../app/mainwindow_library.cpp" line="233"/>
        <source>Failed to open the library.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow_library.cpp" line="139"/>
        <source>The file contains information not supported by this software version.
Data will be lost when storing this file.Continue anyway?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow_library.cpp" line="192"/>
        <source>Save library as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow_library.cpp" line="193"/>
        <source>Brenlow Fixture Definition Library (*.blfl)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow_library.cpp" line="206"/>
        <source>Failed to save the library.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
