<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../../app/aboutdialog.ui" line="18"/>
        <source>About KDR-450P Fixture Library Editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/aboutdialog.ui" line="21"/>
        <source>About Brenlow PLV-300 Data Backup Tool.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/aboutdialog.ui" line="24"/>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;About Brenlow KDR-450P Fixture Library Editor Dialog.&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/aboutdialog.ui" line="46"/>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt; font-weight:600;&quot;&gt;KDR-450P Fixture Library Editor&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/aboutdialog.ui" line="57"/>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/aboutdialog.ui" line="69"/>
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
    <name>MainWindow</name>
    <message>
        <location filename="../../app/mainwindow.ui" line="15"/>
        <location filename="../../app/mainwindow.cpp" line="112"/>
        <location filename="../../app/mainwindow_closing.cpp" line="23"/>
        <location filename="../../app/mainwindow_library.cpp" line="28"/>
        <location filename="../../app/mainwindow_library.cpp" line="45"/>
        <source>KDR-450P Fixture Library Editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="55"/>
        <source>Closing application</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="136"/>
        <source>Total Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="161"/>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="166"/>
        <source>Current Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="199"/>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="209"/>
        <source>Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="214"/>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="222"/>
        <source>toolBar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="231"/>
        <source>&amp;New Library</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="232"/>
        <source>Alt+N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="236"/>
        <source>&amp;Open Library</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="237"/>
        <source>Alt+O</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="241"/>
        <location filename="../../app/mainwindow.cpp" line="77"/>
        <source>Save Library</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="242"/>
        <source>Alt+S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="246"/>
        <source>Save Library as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="247"/>
        <source>Alt+Shift+S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="251"/>
        <location filename="../../app/mainwindow.cpp" line="80"/>
        <source>Import Library</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="255"/>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="258"/>
        <source>Discover Devices</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="261"/>
        <source>Update Firmware</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.ui" line="264"/>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.cpp" line="75"/>
        <source>New Library</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.cpp" line="76"/>
        <source>Open Library</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.cpp" line="78"/>
        <source>Save Library As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.cpp" line="82"/>
        <source>Upload selection to device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.cpp" line="84"/>
        <source>Download selection to computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/mainwindow.cpp" line="104"/>
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
<context>
    <name>main</name>
    <message>
        <location filename="../../app/main.cpp" line="31"/>
        <source>Edits KDR-450P fixture definition libraries and transfers them to and from the controller.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/main.cpp" line="37"/>
        <source>Library file (.blfl) to open at start.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/main.cpp" line="41"/>
        <source>Work with the simulated controller.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/main.cpp" line="43"/>
        <source>Reach the controller at PATH.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
