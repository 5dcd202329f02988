<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About KDR-450P Fixture Library Editor</source>
        <translation>Über KDR-450P Fixture Library Editor</translation>
    </message>
    <message>
        <source>About Brenlow PLV-300 Data Backup Tool.</source>
        <translation>Über das Brenlow PLV-300 Datensicherungsprogramm.</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;About Brenlow KDR-450P Fixture Library Editor Dialog.&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Info-Dialog von Brenlow KDR-450P Fixture Library Editor.&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt; font-weight:600;&quot;&gt;KDR-450P Fixture Library Editor&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt; font-weight:600;&quot;&gt;KDR-450P Fixture Library Editor&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>BLFLArchive</name>
    <message>
        <source>The file does not exist.</source>
        <translation>Die Datei existiert nicht.</translation>
    </message>
    <message>
        <source>The file cannot be opened: %1</source>
        <translation>Die Datei lässt sich nicht öffnen: %1</translation>
    </message>
    <message>
        <source>Out of memory.</source>
        <translation>Nicht genügend Arbeitsspeicher.</translation>
    </message>
    <message>
        <source>The archive reader cannot be set up: %1</source>
        <translation>Das Archiv kann nicht zum Lesen vorbereitet werden: %1</translation>
    </message>
    <message>
        <source>Not a library file (not a gzip-compressed tar archive): %1</source>
        <translation>Keine Bibliotheksdatei (kein gzip-komprimiertes tar-Archiv): %1</translation>
    </message>
    <message>
        <source>The file is damaged or truncated: %1</source>
        <translation>Die Datei ist beschädigt oder unvollständig: %1</translation>
    </message>
    <message>
        <source>The entry %1 is larger than 64 MiB; the file is damaged.</source>
        <translation>Der Eintrag %1 ist größer als 64 MiB; die Datei ist beschädigt.</translation>
    </message>
    <message>
        <source>The library has the incompatible version &quot;%1&quot;.</source>
        <translation>Die Bibliothek hat die inkompatible Version „%1“.</translation>
    </message>
    <message>
        <source>The file has no version entry; it is not a library file.</source>
        <translation>Die Datei hat keinen Versionseintrag; sie ist keine Bibliotheksdatei.</translation>
    </message>
    <message>
        <source>No file name is set.</source>
        <translation>Es ist kein Dateiname gesetzt.</translation>
    </message>
    <message>
        <source>The file cannot be written: %1</source>
        <translation>Die Datei lässt sich nicht schreiben: %1</translation>
    </message>
    <message>
        <source>The archive writer cannot be set up: %1</source>
        <translation>Das Archiv kann nicht zum Schreiben vorbereitet werden: %1</translation>
    </message>
    <message>
        <source>The file cannot be written.</source>
        <translation>Die Datei lässt sich nicht schreiben.</translation>
    </message>
    <message>
        <source>entry %1 (%2): %3</source>
        <translation>Eintrag %1 (%2): %3</translation>
    </message>
    <message>
        <source>%1 is a folder, not a file.</source>
        <translation>%1 ist ein Ordner, keine Datei.</translation>
    </message>
    <message>
        <source>%1 is not a regular file (a device or a pipe); a library is saved only to a regular file or a new path.</source>
        <translation>%1 ist keine gewöhnliche Datei (ein Gerät oder eine Pipe); eine Bibliothek wird nur in eine gewöhnliche Datei oder unter einem neuen Pfad gespeichert.</translation>
    </message>
    <message>
        <source>it ends early</source>
        <translation>sie endet vorzeitig</translation>
    </message>
    <message>
        <source>its format is unknown</source>
        <translation>ihr Format ist unbekannt</translation>
    </message>
    <message>
        <source>its compressed data is damaged</source>
        <translation>ihre komprimierten Daten sind beschädigt</translation>
    </message>
    <message>
        <source>its archive structure is damaged</source>
        <translation>ihre Archivstruktur ist beschädigt</translation>
    </message>
</context>
<context>
    <name>BLPmPhyUSB</name>
    <message>
        <source>Failed to list devices.</source>
        <translation>Die Geräte konnten nicht aufgelistet werden.</translation>
    </message>
    <message>
        <source>No device found.</source>
        <translation>Kein Gerät gefunden.</translation>
    </message>
    <message>
        <source>USB Device %1</source>
        <translation>USB-Gerät %1</translation>
    </message>
    <message>
        <source>USB Dongle %1</source>
        <translation>USB-Dongle %1</translation>
    </message>
    <message>
        <source>Failed to open connection</source>
        <translation>Die Verbindung konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Failed to reset the device</source>
        <translation>Das Gerät konnte nicht zurückgesetzt werden</translation>
    </message>
    <message>
        <source>Failed to configure the baudrate</source>
        <translation>Die Baudrate konnte nicht eingestellt werden</translation>
    </message>
    <message>
        <source>Datagram configuration failed</source>
        <translation>Das Datenformat konnte nicht eingestellt werden</translation>
    </message>
    <message>
        <source>Failed to configure timeouts</source>
        <translation>Die Zeitlimits konnten nicht eingestellt werden</translation>
    </message>
    <message>
        <source>Failed to close the device</source>
        <translation>Das Gerät konnte nicht geschlossen werden</translation>
    </message>
    <message>
        <source>Trying to send data, while device is not connected</source>
        <translation>Senden nicht möglich: das Gerät ist nicht verbunden</translation>
    </message>
    <message>
        <source>Time out during write operation</source>
        <translation>Zeitüberschreitung beim Schreiben</translation>
    </message>
    <message>
        <source>Trying to read from device, while device is not connected</source>
        <translation>Lesen nicht möglich: das Gerät ist nicht verbunden</translation>
    </message>
    <message>
        <source>Failed to read from device</source>
        <translation>Vom Gerät konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>Read operation has timed out</source>
        <translation>Zeitüberschreitung beim Lesen</translation>
    </message>
</context>
<context>
    <name>D2xxFtdiDriver</name>
    <message>
        <source>FTDI D2XX driver library not found: %1</source>
        <translation>FTDI-D2XX-Treiberbibliothek nicht gefunden: %1</translation>
    </message>
    <message>
        <source>FTDI D2XX driver library %1 lacks the function %2</source>
        <translation>Der FTDI-D2XX-Treiberbibliothek %1 fehlt die Funktion %2</translation>
    </message>
</context>
<context>
    <name>DeviceCommand</name>
    <message>
        <source>Device:            %1 (%2)
</source>
        <translation>Gerät:             %1 (%2)
</translation>
    </message>
    <message>
        <source>Name:              %1
</source>
        <translation>Name:              %1
</translation>
    </message>
    <message>
        <source>Software version:  %1
</source>
        <translation>Software-Version:  %1
</translation>
    </message>
    <message>
        <source>Hardware version:  %1
</source>
        <translation>Hardware-Version:  %1
</translation>
    </message>
    <message>
        <source>Frame limit:       %1
</source>
        <translation>Rahmengrenze:      %1
</translation>
    </message>
    <message>
        <source>Label:             %1
</source>
        <translation>Bezeichnung:       %1
</translation>
    </message>
    <message>
        <source>Usage: kdr450p-tool devices [--json] [options]

Lists the attached devices that answer, one a line: the entry text as the window
lists it (name, controller number for --device, label), software and hardware
version.
  --json          print {&quot;backend&quot;, &quot;devices&quot;: [{&quot;number&quot;, &quot;name&quot;, &quot;label&quot;,
                  &quot;softwareVersion&quot;, &quot;hardwareVersion&quot;}]}

Options:
</source>
        <translation>Aufruf: kdr450p-tool devices [--json] [Optionen]

Listet die angeschlossenen Geräte, die antworten, eines je Zeile: der Eintrag, wie das
Fenster ihn zeigt (Name, Controllernummer für --device, Bezeichnung), Software- und
Hardwareversion.
  --json          {&quot;backend&quot;, &quot;devices&quot;: [{&quot;number&quot;, &quot;name&quot;, &quot;label&quot;,
                  &quot;softwareVersion&quot;, &quot;hardwareVersion&quot;}]} ausgeben

Optionen:
</translation>
    </message>
    <message>
        <source>%1, software %2, hardware %3
</source>
        <translation>%1, Software %2, Hardware %3
</translation>
    </message>
    <message>
        <source>Usage: kdr450p-tool info [--device N] [--json] [options]

Prints the information block of one controller: name, software and hardware
version, frame limit, and its label.
  --json          print {&quot;device&quot;, &quot;usbName&quot;, &quot;name&quot;, &quot;softwareVersion&quot;,
                  &quot;hardwareVersion&quot;, &quot;frameLimit&quot;, &quot;label&quot;}

Options:
</source>
        <translation>Aufruf: kdr450p-tool info [--device N] [--json] [Optionen]

Gibt den Informationsblock eines Controllers aus: Name, Software- und Hardwareversion,
Rahmengrenze und seine Bezeichnung.
  --json          {&quot;device&quot;, &quot;usbName&quot;, &quot;name&quot;, &quot;softwareVersion&quot;,
                  &quot;hardwareVersion&quot;, &quot;frameLimit&quot;, &quot;label&quot;} ausgeben

Optionen:
</translation>
    </message>
    <message>
        <source>backend: %1
</source>
        <translation>Backend: %1
</translation>
    </message>
    <message>
        <source>simulated</source>
        <translation>simuliert</translation>
    </message>
</context>
<context>
    <name>DeviceForm</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Find Devices</source>
        <translation>Geräte suchen</translation>
    </message>
    <message>
        <source>Select all</source>
        <translation>Alle auswählen</translation>
    </message>
    <message>
        <source>Clear selection</source>
        <translation>Auswahl aufheben</translation>
    </message>
    <message>
        <source>Copy selected to computer</source>
        <translation>Auswahl auf den Computer kopieren</translation>
    </message>
    <message>
        <source>Delete selected</source>
        <translation>Auswahl löschen</translation>
    </message>
    <message>
        <source>Delete the selected fixture definitions from the device (%1)</source>
        <translation>Die ausgewählten Fixture-Definitionen vom Gerät löschen (%1)</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n slots used</source>
        <translation>
            <numerusform>%1 von %n Speicherplatz belegt</numerusform>
            <numerusform>%1 von %n Speicherplätzen belegt</numerusform>
        </translation>
    </message>
    <message>
        <source>Firmware %1</source>
        <translation>Firmware-Version %1</translation>
    </message>
</context>
<context>
    <name>DeviceLinkText</name>
    <message>
        <source>no controller found</source>
        <translation>kein Controller gefunden</translation>
    </message>
    <message>
        <source>no controller with device number %1 (see &apos;kdr450p-tool devices&apos;)</source>
        <translation>kein Controller mit der Gerätenummer %1 (siehe „kdr450p-tool devices“)</translation>
    </message>
    <message>
        <source>device %1 (%2) does not answer</source>
        <translation>Gerät %1 (%2) antwortet nicht</translation>
    </message>
    <message>
        <source>device %1 (%2) does not answer: %3</source>
        <translation>Gerät %1 (%2) antwortet nicht: %3</translation>
    </message>
</context>
<context>
    <name>DeviceOptionsText</name>
    <message>
        <source>this command takes no --device</source>
        <translation>dieser Befehl nimmt kein --device</translation>
    </message>
    <message>
        <source>--device needs a controller number</source>
        <translation>--device braucht eine Controllernummer</translation>
    </message>
    <message>
        <source>--device needs a controller number (1 or more), not &apos;%1&apos;</source>
        <translation>--device braucht eine Controllernummer (ab 1), nicht „%1“</translation>
    </message>
    <message>
        <source>  --device N      controller KDR-450P #N, as &apos;devices&apos; and the window list it
                  (default: #1)
</source>
        <translation>  --device N      Controller KDR-450P #N, wie „devices“ und das Fenster es zeigen
                  (Vorgabe: #1)
</translation>
    </message>
    <message>
        <source>  --simulate      use the simulated demo controllers (no hardware needed)
  --port PATH     this serial port is a controller, whatever its USB description
  --backend NAME  serial, qtserial or d2xx (the FTDI D2XX driver library)
  --d2xx-library PATH  the D2XX driver library to load
  --verbose       print every frame to and from the controller on stderr
</source>
        <translation>  --simulate      die simulierten Demo-Controller verwenden (ohne Hardware)
  --port PFAD     diese serielle Schnittstelle ist ein Controller, gleich welche USB-Beschreibung
  --backend NAME  serial, qtserial oder d2xx (die FTDI-D2XX-Treiberbibliothek)
  --d2xx-library PFAD  die zu ladende D2XX-Treiberbibliothek
  --verbose       jeden Frame zum und vom Controller auf stderr ausgeben
</translation>
    </message>
</context>
<context>
    <name>DeviceRecord</name>
    <message>
        <source>fixture name</source>
        <translation>Gerätename</translation>
    </message>
    <message>
        <source>fixture short name</source>
        <translation>Kurzname des Geräts</translation>
    </message>
    <message>
        <source>manufacturer name</source>
        <translation>Herstellername</translation>
    </message>
    <message>
        <source>manufacturer short name</source>
        <translation>Kurzname des Herstellers</translation>
    </message>
    <message>
        <source>channel %1 name</source>
        <translation>Name von Kanal %1</translation>
    </message>
    <message>
        <source>channel %1 short name</source>
        <translation>Kurzname von Kanal %1</translation>
    </message>
</context>
<context>
    <name>DriverOptionsText</name>
    <message>
        <source>--port needs the path of a serial port</source>
        <translation>--port braucht den Pfad einer seriellen Schnittstelle</translation>
    </message>
    <message>
        <source>--backend needs one of: %1</source>
        <translation>--backend braucht eines von: %1</translation>
    </message>
    <message>
        <source>--d2xx-library needs the path of the D2XX driver library</source>
        <translation>--d2xx-library braucht den Pfad der D2XX-Treiberbibliothek</translation>
    </message>
    <message>
        <source>--simulate and --backend cannot be used together</source>
        <translation>--simulate und --backend lassen sich nicht zusammen verwenden</translation>
    </message>
    <message>
        <source>--simulate and --port cannot be used together</source>
        <translation>--simulate und --port lassen sich nicht zusammen verwenden</translation>
    </message>
    <message>
        <source>--port works with the serial and qtserial backends, not d2xx</source>
        <translation>--port geht mit den Backends serial und qtserial, nicht mit d2xx</translation>
    </message>
    <message>
        <source>--d2xx-library goes with --backend d2xx</source>
        <translation>--d2xx-library gehört zu --backend d2xx</translation>
    </message>
</context>
<context>
    <name>FirmwareCommand</name>
    <message>
        <source>expects one FILE</source>
        <translation>erwartet eine DATEI</translation>
    </message>
    <message>
        <source>Device:  %1
</source>
        <translation>Gerät:   %1
</translation>
    </message>
    <message>
        <source>Sectors: %1
</source>
        <translation>Sektoren: %1
</translation>
    </message>
    <message numerus="yes">
        <source>Size:    %n byte(s)
</source>
        <translation>
            <numerusform>Größe:   %n Byte
</numerusform>
            <numerusform>Größe:   %n Byte
</numerusform>
        </translation>
    </message>
    <message>
        <source>unknown subcommand &apos;%1&apos; (see kdr450p-tool firmware --help)</source>
        <translation>unbekannter Unterbefehl „%1“ (siehe kdr450p-tool firmware --help)</translation>
    </message>
    <message>
        <source>Usage: kdr450p-tool firmware check FILE

Checks a firmware file (.bl2; FILE - reads standard input): its magic, layout and
checksum. Prints the device it is for, its sectors, size and note; a file that
is not valid is named with the rule it breaks.
</source>
        <translation>Aufruf: kdr450p-tool firmware check DATEI

Prüft eine Firmware-Datei (.bl2; DATEI - liest die Standardeingabe): Kennung, Aufbau und
Prüfsumme. Gibt das Gerät aus, für das sie ist, ihre Sektoren, Größe und Notiz; bei
einer ungültigen Datei wird die verletzte Regel genannt.
</translation>
    </message>
    <message>
        <source>Note:    %1
</source>
        <translation>Notiz:   %1
</translation>
    </message>
    <message>
        <source>Usage: kdr450p-tool firmware &lt;subcommand&gt; [options]

Subcommands:
  check FILE                  check a firmware file (.bl2): magic, layout, checksum
  update FILE [--device N] [--yes]  program a controller with a firmware file
                              (--simulate, --port PATH, --verbose as for &apos;device&apos;)
</source>
        <translation>Aufruf: kdr450p-tool firmware &lt;Unterbefehl&gt; [Optionen]

Unterbefehle:
  check DATEI                 eine Firmware-Datei (.bl2) prüfen: Kennung, Aufbau, Prüfsumme
  update DATEI [--device N] [--yes]  einen Controller mit einer Firmware-Datei programmieren
                              (--simulate, --port PFAD, --verbose wie bei „device“)
</translation>
    </message>
    <message>
        <source>it is larger than %1 MB</source>
        <translation>sie ist größer als %1 MB</translation>
    </message>
    <message>
        <source>it does not start with &quot;BLU2&quot; and a zero byte</source>
        <translation>sie beginnt nicht mit „BLU2“ und einem Nullbyte</translation>
    </message>
    <message>
        <source>it has %1 bytes, fewer than its 256-byte header</source>
        <translation>sie hat %1 Bytes, weniger als ihr 256-Byte-Kopf</translation>
    </message>
    <message>
        <source>it claims %1 sectors, at most %2 are allowed</source>
        <translation>sie gibt %1 Sektoren an, höchstens %2 sind erlaubt</translation>
    </message>
    <message>
        <source>sector %1 (%2 bytes) lies outside the file</source>
        <translation>Sektor %1 (%2 Bytes) liegt außerhalb der Datei</translation>
    </message>
    <message>
        <source>the checksum is %1, the sectors add up to %2</source>
        <translation>die Prüfsumme ist %1, die Sektoren ergeben %2</translation>
    </message>
    <message>
        <source>The file %1 is OK.</source>
        <translation>Die Datei %1 ist in Ordnung.</translation>
    </message>
    <message>
        <source>The file %1 is not readable.</source>
        <translation>Die Datei %1 ist nicht lesbar.</translation>
    </message>
    <message>
        <source>The file %1 is not a valid BL2 file: %2.</source>
        <translation>Die Datei %1 ist keine gültige BL2-Datei: %2.</translation>
    </message>
</context>
<context>
    <name>FirmwareUpdateDlg</name>
    <message>
        <source>KDR-450P Firmware Update Tool</source>
        <translation>KDR-450P Firmware-Update</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;body&gt;&lt;p&gt;Click to discover connected KDR-450P devices&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;body&gt;&lt;p&gt;Klicken, um angeschlossene KDR-450P-Geräte zu suchen&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Discover Devices</source>
        <translation>Geräte suchen</translation>
    </message>
    <message>
        <source>PLV-300 Firmware Update Tool</source>
        <translation>PLV-300 Firmware-Update</translation>
    </message>
    <message>
        <source>Click to load an alternative update image</source>
        <translation>Klicken, um eine andere Update-Datei zu laden</translation>
    </message>
    <message>
        <source>Load Update File</source>
        <translation>Update-Datei laden</translation>
    </message>
    <message>
        <source>Click to update the firmware</source>
        <translation>Klicken, um die Firmware zu aktualisieren</translation>
    </message>
    <message>
        <source>Update Firmware</source>
        <translation>Firmware aktualisieren</translation>
    </message>
    <message>
        <source>Close this window</source>
        <translation>Dieses Fenster schließen</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Default firmware update file loaded. Load </source>
        <translation>Standard-Update-Datei geladen. </translation>
    </message>
    <message>
        <source>alternative</source>
        <translation>Andere</translation>
    </message>
    <message>
        <source> update file.</source>
        <translation> Update-Datei laden.</translation>
    </message>
    <message>
        <source>No built-in firmware update file is available. Load an </source>
        <translation>Keine eingebaute Update-Datei vorhanden. </translation>
    </message>
    <message>
        <source>Load the </source>
        <translation>Die </translation>
    </message>
    <message>
        <source>default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>KDR-450P #%1</source>
        <translation>KDR-450P Nr. %1</translation>
    </message>
    <message>
        <source>Open a Brenlow Update File</source>
        <translation>Brenlow-Update-Datei öffnen</translation>
    </message>
    <message>
        <source>BL2 files (*.bl2)</source>
        <translation>BL2-Dateien (*.bl2)</translation>
    </message>
    <message>
        <source>%1, firmware %2</source>
        <translation>%1, Firmware %2</translation>
    </message>
    <message>
        <source>KDR-450P Fixture Library Editor</source>
        <translation>KDR-450P Fixture Library Editor</translation>
    </message>
    <message>
        <source>The firmware was not programmed on %1.
%2</source>
        <translation>Die Firmware wurde nicht auf %1 programmiert.
%2</translation>
    </message>
    <message>
        <source>The file </source>
        <translation>Die Datei </translation>
    </message>
    <message>
        <source> is not readable.</source>
        <translation> ist nicht lesbar.</translation>
    </message>
    <message>
        <source> is not a valid BL2 file.</source>
        <translation> ist keine gültige BL2-Datei.</translation>
    </message>
    <message>
        <source> does not contain a firmware update for the connected device.</source>
        <translation> enthält kein Firmware-Update für das angeschlossene Gerät.</translation>
    </message>
    <message>
        <source> is OK.</source>
        <translation> ist in Ordnung.</translation>
    </message>
    <message>
        <source>The device is not a %1; nothing was written to it.</source>
        <translation>Das Gerät ist kein %1; es wurde nichts darauf geschrieben.</translation>
    </message>
    <message>
        <source>The controller did not answer within %1 ms.</source>
        <translation>Der Controller hat nicht innerhalb von %1 ms geantwortet.</translation>
    </message>
    <message>
        <source>The connection was lost: the USB device vanished.</source>
        <translation>Die Verbindung ist abgebrochen: Das USB-Gerät ist verschwunden.</translation>
    </message>
    <message>
        <source>The connection was lost: driver error %1.</source>
        <translation>Die Verbindung ist abgebrochen: Treiberfehler %1.</translation>
    </message>
    <message>
        <source>The connection was lost: data did not leave within %1 ms.</source>
        <translation>Die Verbindung ist abgebrochen: Die Daten gingen nicht innerhalb von %1 ms hinaus.</translation>
    </message>
    <message>
        <source>The controller answered status %1.</source>
        <translation>Der Controller hat mit Status %1 geantwortet.</translation>
    </message>
    <message>
        <source>The update was cancelled.</source>
        <translation>Das Update wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The controller gave an answer of the wrong size.</source>
        <translation>Die Antwort des Controllers hatte die falsche Größe.</translation>
    </message>
    <message>
        <source>The update could not be started.</source>
        <translation>Das Update konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>No cause was reported.</source>
        <translation>Es wurde keine Ursache gemeldet.</translation>
    </message>
</context>
<context>
    <name>FixtureXml</name>
    <message>
        <source>not well-formed XML at line %1: %2</source>
        <translation>kein wohlgeformtes XML in Zeile %1: %2</translation>
    </message>
</context>
<context>
    <name>FixturesCounterForm</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>n of m Fixture Definitions</source>
        <translation>n von m Fixture-Definitionen</translation>
    </message>
    <message>
        <source> (k Selected)</source>
        <translation> (k ausgewählt)</translation>
    </message>
    <message numerus="yes">
        <source>%n Fixture Definition(s)</source>
        <translation>
            <numerusform>%n Fixture-Definition</numerusform>
            <numerusform>%n Fixture-Definitionen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n Fixture Definition(s)</source>
        <translation>
            <numerusform>%1 von %n Fixture-Definition</numerusform>
            <numerusform>%1 von %n Fixture-Definitionen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source> (%n Selected)</source>
        <translation>
            <numerusform> (%n ausgewählt)</numerusform>
            <numerusform> (%n ausgewählt)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ImportQxfCommand</name>
    <message>
        <source>Usage: kdr450p-tool library import-qxf LIBRARY DIR_OR_FILE... [--mode NAME]...
                                       [--manufacturer TEXT] [--model TEXT]
                                       [--max-channels N]

Appends one definition per mode of the QLC+ fixture files (.qxf) in the given folders
(searched recursively) and files to LIBRARY, creating it when it does not exist. LIBRARY
is replaced only when it has been written completely. The fixture name is the model, plus
the mode name when the file has several modes. Unreadable files, modes without channels
and modes above the controller&apos;s 45 channels are reported on stderr.
Exit status 0 when at least one file was read, 1 when none could be (LIBRARY is then left
alone), 2 on a usage error.

Options:
  --mode NAME          only modes of this name (any case); may be repeated
  --manufacturer TEXT  only fixtures whose manufacturer contains TEXT (any case)
  --model TEXT         only fixtures whose model contains TEXT (any case)
  --max-channels N     leave out modes of more than N channels
</source>
        <translation>Aufruf: kdr450p-tool library import-qxf BIBLIOTHEK ORDNER_ODER_DATEI... [--mode NAME]...
                                       [--manufacturer TEXT] [--model TEXT]
                                       [--max-channels N]

Hängt je Modus der QLC+-Fixture-Dateien (.qxf) in den angegebenen Ordnern (rekursiv
durchsucht) und Dateien eine Definition an BIBLIOTHEK an und legt sie an, wenn es sie
noch nicht gibt. BIBLIOTHEK wird erst ersetzt, wenn sie vollständig geschrieben ist. Der
Fixture-Name ist das Modell, bei mehreren Modi gefolgt vom Modusnamen. Unlesbare Dateien,
Modi ohne Kanäle und Modi mit mehr als den 45 Kanälen des Controllers meldet stderr.
Exit-Status 0, wenn mindestens eine Datei gelesen wurde, 1, wenn keine (BIBLIOTHEK bleibt
dann unverändert), 2 bei falschem Aufruf.

Optionen:
  --mode NAME          nur Modi dieses Namens (Groß-/Kleinschreibung egal); wiederholbar
  --manufacturer TEXT  nur Fixtures, deren Hersteller TEXT enthält (Schreibung egal)
  --model TEXT         nur Fixtures, deren Modell TEXT enthält (Schreibung egal)
  --max-channels N     Modi mit mehr als N Kanälen auslassen
</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 braucht einen Wert</translation>
    </message>
    <message>
        <source>--max-channels takes a number from 1</source>
        <translation>--max-channels nimmt eine Zahl ab 1</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>expected LIBRARY and DIR_OR_FILE</source>
        <translation>BIBLIOTHEK und ORDNER_ODER_DATEI erwartet</translation>
    </message>
    <message>
        <source>cannot load %1: %2; it is left unchanged</source>
        <translation>%1 lässt sich nicht laden: %2; sie bleibt unverändert</translation>
    </message>
    <message>
        <source>%1 holds content this version does not support; saving it would lose that content</source>
        <translation>%1 enthält Inhalte, die diese Version nicht unterstützt; beim Speichern gingen sie verloren</translation>
    </message>
    <message>
        <source>skipped %1: %2
</source>
        <translation>übersprungen %1: %2
</translation>
    </message>
    <message>
        <source>no fixture file could be read; %1 is left unchanged</source>
        <translation>keine Fixture-Datei ließ sich lesen; %1 bleibt unverändert</translation>
    </message>
    <message>
        <source>skipped %1: mode &quot;%2&quot; has no channels
</source>
        <translation>übersprungen %1: Modus „%2“ hat keine Kanäle
</translation>
    </message>
    <message>
        <source>warning: %1: mode &quot;%2&quot; has %3 channels; the controller takes at most %4
</source>
        <translation>Warnung: %1: Modus „%2“ hat %3 Kanäle; der Controller nimmt höchstens %4
</translation>
    </message>
    <message>
        <source>cannot save %1: %2</source>
        <translation>%1 lässt sich nicht speichern: %2</translation>
    </message>
    <message numerus="yes">
        <source>added %n definition(s) to %1</source>
        <translation>
            <numerusform>%n Definition zu %1 hinzugefügt</numerusform>
            <numerusform>%n Definitionen zu %1 hinzugefügt</numerusform>
        </translation>
    </message>
    <message>
        <source>skipped %1, %2, %3</source>
        <translation>übersprungen: %1, %2, %3</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n Datei</numerusform>
            <numerusform>%n Dateien</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n empty mode(s)</source>
        <translation>
            <numerusform>%n leerer Modus</numerusform>
            <numerusform>%n leere Modi</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n mode(s) over --max-channels</source>
        <translation>
            <numerusform>%n Modus über --max-channels</numerusform>
            <numerusform>%n Modi über --max-channels</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n added mode(s) exceed the controller&apos;s %1 channels</source>
        <translation>
            <numerusform>%n hinzugefügter Modus überschreitet die %1 Kanäle des Controllers</numerusform>
            <numerusform>%n hinzugefügte Modi überschreiten die %1 Kanäle des Controllers</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LibraryCommand</name>
    <message>
        <source>Usage: kdr450p-tool library list FILE [--json] [--channels]

Prints every fixture definition of FILE in archive order: fixture name, short name,
manufacturer, manufacturer short name, type and channel count. Short names are shown
as stored (empty while the automatic short name is used).

Options:
  --channels   also print each channel&apos;s number, name and short name
  --json       print one JSON document (UTF-8), the form that &apos;library create&apos; reads
</source>
        <translation>Aufruf: kdr450p-tool library list DATEI [--json] [--channels]

Gibt jede Fixture-Definition der DATEI in der Reihenfolge des Archivs aus: Fixture-Name,
Kurzname, Hersteller, Hersteller-Kurzname, Typ und Kanalanzahl. Kurznamen erscheinen
wie gespeichert (leer, solange der automatische Kurzname gilt).

Optionen:
  --channels   auch Nummer, Name und Kurzname jedes Kanals ausgeben
  --json       ein JSON-Dokument (UTF-8) ausgeben, die Form, die „library create“ liest
</translation>
    </message>
    <message>
        <source>Usage: kdr450p-tool library resave IN OUT [--force]

Loads IN and saves it as OUT, the round trip that the editor does. OUT is replaced only
when it has been written completely; OUT may be IN.

Options:
  --force   re-save even when IN holds content this version does not support, which
            is then lost
</source>
        <translation>Aufruf: kdr450p-tool library resave EIN AUS [--force]

Lädt EIN und speichert es als AUS, wie der Editor es tut. AUS wird erst ersetzt, wenn es
vollständig geschrieben ist; AUS darf EIN sein.

Optionen:
  --force   auch dann neu speichern, wenn EIN Inhalte hat, die diese Version nicht
            unterstützt; sie gehen dabei verloren
</translation>
    </message>
    <message>
        <source>cannot load %1: %2</source>
        <translation>%1 lässt sich nicht laden: %2</translation>
    </message>
    <message>
        <source>%1 holds content this version does not support; saving it would lose that content</source>
        <translation>%1 enthält Inhalte, die diese Version nicht unterstützt; beim Speichern gingen sie verloren</translation>
    </message>
    <message>
        <source>cannot save %1: %2</source>
        <translation>%1 lässt sich nicht speichern: %2</translation>
    </message>
    <message>
        <source>(no type)</source>
        <translation>(kein Typ)</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>expected one FILE</source>
        <translation>eine DATEI erwartet</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>Warnung: %1</translation>
    </message>
    <message>
        <source>cannot write the output</source>
        <translation>die Ausgabe lässt sich nicht schreiben</translation>
    </message>
    <message numerus="yes">
        <source>%n channel(s)</source>
        <translation>
            <numerusform>%n Kanal</numerusform>
            <numerusform>%n Kanäle</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1: loads, %n definition(s)
</source>
        <translation>
            <numerusform>%1: lädt, %n Definition
</numerusform>
            <numerusform>%1: lädt, %n Definitionen
</numerusform>
        </translation>
    </message>
    <message>
        <source>expected IN and OUT</source>
        <translation>EIN und AUS erwartet</translation>
    </message>
    <message>
        <source> (add --force to re-save anyway)</source>
        <translation> (mit --force trotzdem neu speichern)</translation>
    </message>
    <message>
        <source>--from-json needs a FILE</source>
        <translation>--from-json braucht eine DATEI</translation>
    </message>
    <message>
        <source>expected OUT --from-json FILE</source>
        <translation>AUS --from-json DATEI erwartet</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 lässt sich nicht lesen: %2</translation>
    </message>
    <message>
        <source>unknown subcommand &apos;%1&apos; (see kdr450p-tool library --help)</source>
        <translation>unbekannter Unterbefehl „%1“ (siehe kdr450p-tool library --help)</translation>
    </message>
    <message>
        <source>Usage: kdr450p-tool library create OUT --from-json FILE [--force]

Builds the library OUT from FILE, a JSON document in the form that
&apos;kdr450p-tool library list --json --channels&apos; prints:
  {&quot;definitions&quot;: [{&quot;fixtureName&quot;, &quot;fixtureNameShort&quot;, &quot;autoFixtureNameShort&quot;,
    &quot;manufacturerName&quot;, &quot;manufacturerNameShort&quot;, &quot;autoManufacturerNameShort&quot;,
    &quot;fixtureType&quot; (0-255 or null), &quot;channelCount&quot;,
    &quot;channels&quot;: [{&quot;number&quot;, &quot;name&quot;, &quot;nameShort&quot;, &quot;autoNameShort&quot;}]}]}
Missing fields take their defaults (empty texts, automatic short names, no type).
Channels are numbered 1, 2, 3 ... in the order given. OUT is never FILE, and an
existing OUT is replaced only with --force.
</source>
        <translation>Aufruf: kdr450p-tool library create AUS --from-json DATEI [--force]

Baut die Bibliothek AUS aus DATEI, einem JSON-Dokument in der Form, die
„kdr450p-tool library list --json --channels“ ausgibt:
  {&quot;definitions&quot;: [{&quot;fixtureName&quot;, &quot;fixtureNameShort&quot;, &quot;autoFixtureNameShort&quot;,
    &quot;manufacturerName&quot;, &quot;manufacturerNameShort&quot;, &quot;autoManufacturerNameShort&quot;,
    &quot;fixtureType&quot; (0-255 oder null), &quot;channelCount&quot;,
    &quot;channels&quot;: [{&quot;number&quot;, &quot;name&quot;, &quot;nameShort&quot;, &quot;autoNameShort&quot;}]}]}
Fehlende Felder erhalten ihre Vorgaben (leere Texte, automatische Kurznamen, kein Typ).
Kanäle werden in der angegebenen Reihenfolge 1, 2, 3 ... nummeriert. AUS ist nie DATEI,
und ein vorhandenes AUS wird nur mit --force ersetzt.
</translation>
    </message>
    <message>
        <source>%1 is the JSON file to read; give another OUT</source>
        <translation>%1 ist die zu lesende JSON-Datei; geben Sie ein anderes AUS an</translation>
    </message>
    <message>
        <source>%1 exists (add --force to replace it)</source>
        <translation>%1 ist vorhanden (mit --force wird sie ersetzt)</translation>
    </message>
    <message>
        <source>Usage: kdr450p-tool library check FILE [--for-device]

Loads FILE. Exit status 0 when it loads, 1 with the reason when it does not, 3 when it
loads but holds content this version does not support (saving it would lose that):
an unknown element, a further personality, or an entry that does not read whole (not
well-formed XML, another root element, no definition). Each such construct is printed
as one line naming the entry (counted from 1), its path and the definition.

Options:
  --for-device   also list, one line per definition (counted from 1), what would not
                 upload as it is: channel counts outside 1 to 45, and names the
                 controller stores differently (characters outside Latin-1 become &quot;?&quot;;
                 names over 100, short names over 20, channel short names over 12
                 characters are cut); exit status 3 when there is any
</source>
        <translation>Aufruf: kdr450p-tool library check DATEI [--for-device]

Lädt DATEI. Exit-Status 0, wenn sie sich laden lässt, 1 mit dem Grund, wenn nicht, 3, wenn
sie sich lädt, aber Inhalte hat, die diese Version nicht unterstützt (Speichern verlöre sie):
ein unbekanntes Element, eine weitere Personality oder ein Eintrag, der sich nicht ganz lesen
lässt (kein wohlgeformtes XML, ein anderes Wurzelelement, keine Definition). Jedes solche
Konstrukt wird als eine Zeile ausgegeben, mit der Nummer des Eintrags (ab 1), seinem Pfad
und der Definition.

Optionen:
  --for-device   listet außerdem, eine Zeile je Definition (ab 1 gezählt), was sich nicht
                 so hochladen lässt, wie es ist: Kanalzahlen außerhalb von 1 bis 45 und
                 Namen, die der Controller anders speichert (Zeichen außerhalb von Latin-1
                 werden zu &quot;?&quot;; Namen über 100, Kurznamen über 20, Kanal-Kurznamen
                 über 12 Zeichen werden gekürzt); Exit-Status 3, wenn es so etwas gibt
</translation>
    </message>
    <message numerus="yes">
        <source>%n channel(s), the controller takes 1 to 45</source>
        <translation>
            <numerusform>%n Kanal, der Controller nimmt 1 bis 45</numerusform>
            <numerusform>%n Kanäle, der Controller nimmt 1 bis 45</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is stored as &quot;%3&quot;</source>
        <translation>%1 &quot;%2&quot; wird als &quot;%3&quot; gespeichert</translation>
    </message>
    <message>
        <source>%1: definitions above would not upload as they are</source>
        <translation>%1: die Definitionen oben ließen sich nicht so hochladen, wie sie sind</translation>
    </message>
    <message>
        <source>Usage: kdr450p-tool library &lt;subcommand&gt; [options]

Read, check, re-save and create library files (.blfl).

Subcommands:
  list FILE [--json] [--channels]   print every definition in archive order
  check FILE [--for-device]         check that a library loads (and would upload)
  resave IN OUT [--force]           load IN and save it as OUT
  create OUT --from-json FILE [--force]  build a library from the JSON form of &apos;list&apos;
  import-qxf LIBRARY DIR_OR_FILE... append definitions made from QLC+ fixture files

Fixture types: 0 Moving Head, 1 Scanner, 2 LED Fixture, 3 Color Changer, 4 Dimmer,
5 Laser, 6 Strobe, 7 Hazer, 8 Smoke, 9 Effect, 10 Other (null in JSON: none).

Run &apos;kdr450p-tool library &lt;subcommand&gt; --help&apos; for details.
</source>
        <translation>Aufruf: kdr450p-tool library &lt;Unterbefehl&gt; [Optionen]

Bibliotheksdateien (.blfl) lesen, prüfen, neu speichern und anlegen.

Unterbefehle:
  list DATEI [--json] [--channels]  jede Definition in der Reihenfolge des Archivs ausgeben
  check DATEI [--for-device]        prüfen, ob sich eine Bibliothek laden (und hochladen) lässt
  resave EIN AUS [--force]          EIN laden und als AUS speichern
  create AUS --from-json DATEI [--force]  eine Bibliothek aus der JSON-Form von „list“ bauen
  import-qxf BIBLIOTHEK ORDNER_ODER_DATEI...
                                    aus QLC+-Fixture-Dateien gebaute Definitionen anhängen

Fixture-Typen: 0 Moving Head, 1 Scanner, 2 LED-Scheinwerfer, 3 Farbwechsler, 4 Dimmer,
5 Laser, 6 Stroboskop, 7 Hazer, 8 Nebel, 9 Effekt, 10 Sonstiges (null in JSON: keiner).

„kdr450p-tool library &lt;Unterbefehl&gt; --help“ zeigt die Einzelheiten.
</translation>
    </message>
</context>
<context>
    <name>LibraryForm</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filtern</translation>
    </message>
    <message>
        <source>Fixture Name</source>
        <translation>Fixture-Name</translation>
    </message>
    <message>
        <source>Manufacturer</source>
        <translation>Hersteller</translation>
    </message>
    <message>
        <source>New Fixture</source>
        <translation>Neues Fixture</translation>
    </message>
    <message>
        <source>Select all</source>
        <translation>Alle auswählen</translation>
    </message>
    <message>
        <source>Clear selection</source>
        <translation>Auswahl aufheben</translation>
    </message>
    <message>
        <source>Copy selected to KDR-450P</source>
        <translation>Auswahl in den KDR-450P kopieren</translation>
    </message>
    <message>
        <source>Add new fixture definition</source>
        <translation>Neue Fixture-Definition hinzufügen</translation>
    </message>
    <message>
        <source>Duplicate selected fixture definitions</source>
        <translation>Ausgewählte Fixture-Definitionen duplizieren</translation>
    </message>
    <message>
        <source>Delete selected fixture definitions</source>
        <translation>Ausgewählte Fixture-Definitionen löschen</translation>
    </message>
    <message>
        <source>Delete selected fixture definitions (%1)</source>
        <translation>Ausgewählte Fixture-Definitionen löschen (%1)</translation>
    </message>
    <message>
        <source>The filter searches: %1</source>
        <translation>Der Filter durchsucht: %1</translation>
    </message>
    <message>
        <source>The filter ignores: %1</source>
        <translation>Der Filter übergeht: %1</translation>
    </message>
    <message>
        <source>Add Fixture Definition</source>
        <translation>Fixture-Definition hinzufügen</translation>
    </message>
    <message>
        <source>Duplicate Fixture Definition</source>
        <translation>Fixture-Definition duplizieren</translation>
    </message>
    <message>
        <source>Duplicate %1 Fixture Definitions</source>
        <translation>%1 Fixture-Definitionen duplizieren</translation>
    </message>
    <message>
        <source>Delete Fixture Definition</source>
        <translation>Fixture-Definition löschen</translation>
    </message>
    <message>
        <source>Delete %1 Fixture Definitions</source>
        <translation>%1 Fixture-Definitionen löschen</translation>
    </message>
    <message>
        <source>Import Library</source>
        <translation>Bibliothek importieren</translation>
    </message>
    <message numerus="yes">
        <source>Add %n Fixture Definition(s)</source>
        <translation>
            <numerusform>%n Fixture-Definition hinzufügen</numerusform>
            <numerusform>%n Fixture-Definitionen hinzufügen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LibraryHistory</name>
    <message>
        <source>Edit Fixture Name</source>
        <translation>Fixture-Name bearbeiten</translation>
    </message>
    <message>
        <source>Edit Manufacturer Name</source>
        <translation>Herstellername bearbeiten</translation>
    </message>
    <message>
        <source>Edit Fixture Short Name</source>
        <translation>Fixture-Kurzname bearbeiten</translation>
    </message>
    <message>
        <source>Edit Manufacturer Short Name</source>
        <translation>Hersteller-Kurzname bearbeiten</translation>
    </message>
    <message>
        <source>Automatic Fixture Short Name</source>
        <translation>Automatischer Fixture-Kurzname</translation>
    </message>
    <message>
        <source>Automatic Manufacturer Short Name</source>
        <translation>Automatischer Hersteller-Kurzname</translation>
    </message>
    <message>
        <source>Change Fixture Type</source>
        <translation>Fixture-Typ ändern</translation>
    </message>
    <message>
        <source>Add Channel</source>
        <translation>Kanal hinzufügen</translation>
    </message>
    <message>
        <source>Delete Channel</source>
        <translation>Kanal löschen</translation>
    </message>
    <message>
        <source>Move Channel Up</source>
        <translation>Kanal nach oben</translation>
    </message>
    <message>
        <source>Move Channel Down</source>
        <translation>Kanal nach unten</translation>
    </message>
    <message>
        <source>Edit Channel Name</source>
        <translation>Kanalname bearbeiten</translation>
    </message>
    <message>
        <source>Edit Channel Short Name</source>
        <translation>Kanal-Kurzname bearbeiten</translation>
    </message>
    <message>
        <source>Automatic Channel Short Name</source>
        <translation>Automatischer Kanal-Kurzname</translation>
    </message>
    <message>
        <source>Rename Fixture Definition</source>
        <translation>Fixture-Definition umbenennen</translation>
    </message>
    <message>
        <source>Rename Manufacturer</source>
        <translation>Hersteller umbenennen</translation>
    </message>
</context>
<context>
    <name>LocalChannelListModel</name>
    <message>
        <source>Channel#</source>
        <translation>Kanal-Nr.</translation>
    </message>
    <message>
        <source>Channel Name</source>
        <translation>Kanalname</translation>
    </message>
</context>
<context>
    <name>LocalFixtureDefinitionEditForm</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Fixture Name</source>
        <translation>Fixture-Name</translation>
    </message>
    <message>
        <source>Manufacturer</source>
        <translation>Hersteller</translation>
    </message>
    <message>
        <source>Fixture Type</source>
        <translation>Fixture-Typ</translation>
    </message>
    <message>
        <source>Moving Head</source>
        <translation>Moving Head</translation>
    </message>
    <message>
        <source>Scanner</source>
        <translation>Scanner</translation>
    </message>
    <message>
        <source>LED Fixture</source>
        <translation>LED-Scheinwerfer</translation>
    </message>
    <message>
        <source>Color Chnager</source>
        <translation>Farbwechsler</translation>
    </message>
    <message>
        <source>Dimmer</source>
        <translation>Dimmer</translation>
    </message>
    <message>
        <source>Laser</source>
        <translation>Laser</translation>
    </message>
    <message>
        <source>Strobe</source>
        <translation>Stroboskop</translation>
    </message>
    <message>
        <source>Hazer</source>
        <translation>Hazer</translation>
    </message>
    <message>
        <source>Smoke</source>
        <translation>Nebel</translation>
    </message>
    <message>
        <source>Effect</source>
        <translation>Effekt</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Sonstiges</translation>
    </message>
    <message>
        <source>General Short</source>
        <translation>Kurznamen</translation>
    </message>
    <message>
        <source>Fixture Name Short</source>
        <translation>Fixture-Kurzname</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Manufacturer Short</source>
        <translation>Hersteller-Kurzname</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Kanäle</translation>
    </message>
    <message>
        <source>Channel Name</source>
        <translation>Kanalname</translation>
    </message>
    <message>
        <source>Channel Description</source>
        <translation>Kanalbeschreibung</translation>
    </message>
    <message>
        <source>Channel Name Short</source>
        <translation>Kanal-Kurzname</translation>
    </message>
    <message>
        <source>Channel %1</source>
        <translation>Kanal %1</translation>
    </message>
    <message>
        <source>Characters left</source>
        <translation>Verbleibende Zeichen</translation>
    </message>
    <message numerus="yes">
        <source>%n left</source>
        <translation>
            <numerusform>noch %n</numerusform>
            <numerusform>noch %n</numerusform>
        </translation>
    </message>
    <message>
        <source>Add channel</source>
        <translation>Kanal hinzufügen</translation>
    </message>
    <message>
        <source>Delete channel</source>
        <translation>Kanal löschen</translation>
    </message>
    <message>
        <source>Move channel up</source>
        <translation>Kanal nach oben</translation>
    </message>
    <message>
        <source>Move channel down</source>
        <translation>Kanal nach unten</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>LocalFixtureDefinitionListModel</name>
    <message>
        <source>Fixture Name</source>
        <translation>Fixture-Name</translation>
    </message>
    <message>
        <source>#Channels</source>
        <translation>Kanäle</translation>
    </message>
    <message>
        <source>Manufacturer</source>
        <translation>Hersteller</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Import from QLC+ &amp;Fixtures…</source>
        <translation>Aus QLC+-Fixtures im&amp;portieren…</translation>
    </message>
    <message>
        <source>KDR-450P Fixture Library Editor</source>
        <translation>KDR-450P Fixture Library Editor</translation>
    </message>
    <message>
        <source>Closing application</source>
        <translation>Programm wird beendet</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:10pt; font-weight:600;&quot;&gt;This device needs to be &lt;/span&gt;&lt;a href=&quot;update-device&quot;&gt;&lt;span style=&quot; font-size:10pt; font-weight:600; text-decoration: underline; color:#de2d0a;&quot;&gt;updated&lt;/span&gt;&lt;/a&gt;&lt;span style=&quot; font-size:10pt; font-weight:600;&quot;&gt;.&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:10pt; font-weight:600;&quot;&gt;Die Firmware dieses Geräts muss &lt;/span&gt;&lt;a href=&quot;update-device&quot;&gt;&lt;span style=&quot; font-size:10pt; font-weight:600; text-decoration: underline; color:#de2d0a;&quot;&gt;aktualisiert&lt;/span&gt;&lt;/a&gt;&lt;span style=&quot; font-size:10pt; font-weight:600;&quot;&gt; werden.&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Total Progress</source>
        <translation>Gesamtfortschritt</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Current Item</source>
        <translation>Aktueller Eintrag</translation>
    </message>
    <message>
        <source>toolBar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>&amp;New Library</source>
        <translation>&amp;Neue Bibliothek</translation>
    </message>
    <message>
        <source>Alt+N</source>
        <translation>Alt+N</translation>
    </message>
    <message>
        <source>&amp;Open Library</source>
        <translation>Bibliothek ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Alt+O</source>
        <translation>Alt+O</translation>
    </message>
    <message>
        <source>Save Library</source>
        <translation>Bibliothek speichern</translation>
    </message>
    <message>
        <source>Alt+S</source>
        <translation>Alt+S</translation>
    </message>
    <message>
        <source>Alt+Shift+S</source>
        <translation>Alt+Shift+S</translation>
    </message>
    <message>
        <source>Import Library</source>
        <translation>Bibliothek importieren</translation>
    </message>
    <message>
        <source>New Library</source>
        <translation>Neue Bibliothek</translation>
    </message>
    <message>
        <source>Open Library</source>
        <translation>Bibliothek öffnen</translation>
    </message>
    <message>
        <source>Save Library As</source>
        <translation>Bibliothek speichern unter</translation>
    </message>
    <message>
        <source>Upload selection to device</source>
        <translation>Auswahl in das Gerät laden</translation>
    </message>
    <message>
        <source>Download selection to computer</source>
        <translation>Auswahl auf den Computer laden</translation>
    </message>
    <message>
        <source>Unnamed</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>The library has been modified.</source>
        <translation>Die Bibliothek wurde geändert.</translation>
    </message>
    <message>
        <source>Do you want to save your changes?</source>
        <translation>Möchten Sie die Änderungen speichern?</translation>
    </message>
    <message>
        <source>Upload of fixture definition(s) failed.</source>
        <translation>Das Hochladen der Fixture-Definition(en) ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The device seems not to have enough free memory slots to store
all of the selected fixtures.</source>
        <translation>Das Gerät scheint nicht genug freie Speicherplätze zu haben, um
alle ausgewählten Fixtures aufzunehmen.</translation>
    </message>
    <message>
        <source>Make sure that no fixture definition has less than 1 channel or more
than %1 channels.</source>
        <translation>Achten Sie darauf, dass keine Fixture-Definition weniger als 1 Kanal oder mehr
als %1 Kanäle hat.</translation>
    </message>
    <message>
        <source>Downloading of fixture definition(s) failed.</source>
        <translation>Das Herunterladen der Fixture-Definition(en) ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Deletion of fixture definition(s) failed.</source>
        <translation>Das Löschen der Fixture-Definition(en) ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Deletion of patch list has failed.
</source>
        <translation>Das Löschen der Patch-Liste ist fehlgeschlagen.
</translation>
    </message>
    <message>
        <source>The current patch list will be erased.
Do you want to continue?</source>
        <translation>Die aktuelle Patch-Liste wird gelöscht.
Möchten Sie fortfahren?</translation>
    </message>
    <message>
        <source>The current library has been modified
Do you want to save the changes?</source>
        <translation>Die aktuelle Bibliothek wurde geändert.
Möchten Sie die Änderungen speichern?</translation>
    </message>
    <message>
        <source>The file %1 seems to be rather large.
Do you want to continue anyway?</source>
        <translation>Die Datei %1 scheint recht groß zu sein.
Möchten Sie trotzdem fortfahren?</translation>
    </message>
    <message>
        <source>Open Fixture Definition Library</source>
        <translation>Fixture-Bibliothek öffnen</translation>
    </message>
    <message>
        <source>Brenlow Fixture Libraries (*.blfl)</source>
        <translation>Brenlow-Fixture-Bibliotheken (*.blfl)</translation>
    </message>
    <message>
        <source>Failed to open the library.</source>
        <translation>Die Bibliothek konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The file contains information not supported by this software version.
Data will be lost when storing this file.Continue anyway?</source>
        <translation>Die Datei enthält Angaben, die diese Software-Version nicht unterstützt.
Beim Speichern gehen Daten verloren. Trotzdem fortfahren?</translation>
    </message>
    <message>
        <source>Save library as</source>
        <translation>Bibliothek speichern unter</translation>
    </message>
    <message>
        <source>Brenlow Fixture Definition Library (*.blfl)</source>
        <translation>Brenlow-Fixture-Bibliothek (*.blfl)</translation>
    </message>
    <message>
        <source>Failed to save the library.</source>
        <translation>Die Bibliothek konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>The file %1 already exists.
Do you want to replace it?</source>
        <translation>Die Datei %1 existiert bereits.
Möchten Sie sie ersetzen?</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Save Library</source>
        <translation>Bibliothek &amp;speichern</translation>
    </message>
    <message>
        <source>Save Library &amp;as</source>
        <translation>Bibliothek speichern &amp;unter</translation>
    </message>
    <message>
        <source>&amp;Import Library</source>
        <translation>Bibliothek &amp;importieren</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Discover Devices</source>
        <translation>&amp;Geräte suchen</translation>
    </message>
    <message>
        <source>&amp;Update Firmware</source>
        <translation>&amp;Firmware aktualisieren</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Über</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>U&amp;ndo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Download Fixture Definition</source>
        <translation>Fixture-Definition herunterladen</translation>
    </message>
    <message>
        <source>Download %1 Fixture Definitions</source>
        <translation>%1 Fixture-Definitionen herunterladen</translation>
    </message>
    <message>
        <source>The controller link is not available: %1</source>
        <translation>Die Verbindung zum Controller ist nicht verfügbar: %1</translation>
    </message>
    <message numerus="yes">
        <source>Uploaded %n definition(s) to %1</source>
        <translation>
            <numerusform>%n Definition auf %1 übertragen</numerusform>
            <numerusform>%n Definitionen auf %1 übertragen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Upload cancelled after %1 of %n definition(s)</source>
        <translation>
            <numerusform>Übertragung nach %1 von %n Definition abgebrochen</numerusform>
            <numerusform>Übertragung nach %1 von %n Definitionen abgebrochen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Deleted %n definition(s) on %1</source>
        <translation>
            <numerusform>%n Definition auf %1 gelöscht</numerusform>
            <numerusform>%n Definitionen auf %1 gelöscht</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Deletion cancelled after %1 of %n definition(s)</source>
        <translation>
            <numerusform>Löschen nach %1 von %n Definition abgebrochen</numerusform>
            <numerusform>Löschen nach %1 von %n Definitionen abgebrochen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Delete %n fixture definition(s) on %1?</source>
        <translation>
            <numerusform>%n Fixture-Definition auf %1 löschen?</numerusform>
            <numerusform>%n Fixture-Definitionen auf %1 löschen?</numerusform>
        </translation>
    </message>
    <message>
        <source>They cannot be restored.</source>
        <translation>Sie lassen sich nicht wiederherstellen.</translation>
    </message>
    <message>
        <source>%1, %2: &quot;%3&quot; is stored as &quot;%4&quot;</source>
        <translation>%1, %2: „%3“ wird als „%4“ gespeichert</translation>
    </message>
    <message>
        <source>The controller will store some names differently. Upload?</source>
        <translation>Der Controller speichert einige Namen anders. Trotzdem übertragen?</translation>
    </message>
    <message>
        <source>the controller</source>
        <translation>dem Controller</translation>
    </message>
    <message>
        <source>Free slots: %1, needed: %2.</source>
        <translation>Freie Speicherplätze: %1, benötigt: %2.</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n channel(s)</source>
        <translation>
            <numerusform>%1: %n Kanal</numerusform>
            <numerusform>%1: %n Kanäle</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Download cancelled after %1 of %n definition(s)</source>
        <translation>
            <numerusform>Herunterladen nach %1 von %n Definition abgebrochen</numerusform>
            <numerusform>Herunterladen nach %1 von %n Definitionen abgebrochen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Downloaded %n definition(s)</source>
        <translation>
            <numerusform>%n Definition heruntergeladen</numerusform>
            <numerusform>%n Definitionen heruntergeladen</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (slot %2)</source>
        <translation>%1 (Speicherplatz %2)</translation>
    </message>
    <message numerus="yes">
        <source>%1 already holds %n of the selected definitions. Upload them again?</source>
        <translation>
            <numerusform>%1 enthält bereits %n der ausgewählten Definitionen. Erneut übertragen?</numerusform>
            <numerusform>%1 enthält bereits %n der ausgewählten Definitionen. Erneut übertragen?</numerusform>
        </translation>
    </message>
    <message>
        <source>Firmware %1 programmed on %2</source>
        <translation>Firmware %1 auf %2 programmiert</translation>
    </message>
    <message numerus="yes">
        <source>Found %n controller(s)</source>
        <translation>
            <numerusform>%n Controller gefunden</numerusform>
            <numerusform>%n Controller gefunden</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>QBLFixtureDefinitionLoader</name>
    <message>
        <source>no personality, so no definition</source>
        <translation>keine Personality, also keine Definition</translation>
    </message>
</context>
<context>
    <name>QBLFixtureXMLContentHandler</name>
    <message>
        <source>the root element is &lt;%1&gt;, not &lt;BrenlowFixtureDefinition&gt;</source>
        <translation>das Wurzelelement ist &lt;%1&gt;, nicht &lt;BrenlowFixtureDefinition&gt;</translation>
    </message>
    <message>
        <source>element &lt;%1&gt; after the last personality</source>
        <translation>Element &lt;%1&gt; nach der letzten Personality</translation>
    </message>
    <message>
        <source>&lt;DMXChannelRef&gt; outside a personality</source>
        <translation>&lt;DMXChannelRef&gt; außerhalb einer Personality</translation>
    </message>
    <message>
        <source>element &lt;%1&gt;</source>
        <translation>Element &lt;%1&gt;</translation>
    </message>
    <message>
        <source>element &lt;%1&gt; in a personality</source>
        <translation>Element &lt;%1&gt; in einer Personality</translation>
    </message>
    <message>
        <source>further personality &quot;%1&quot;</source>
        <translation>weitere Personality &quot;%1&quot;</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: %2</source>
        <translation>&quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>Qxf</name>
    <message>
        <source>no such file or folder</source>
        <translation>keine solche Datei und kein solcher Ordner</translation>
    </message>
    <message>
        <source>not well-formed XML (line %1: %2)</source>
        <translation>kein wohlgeformtes XML (Zeile %1: %2)</translation>
    </message>
    <message>
        <source>no XML document</source>
        <translation>kein XML-Dokument</translation>
    </message>
    <message>
        <source>root element %1 is not a QLC+ FixtureDefinition</source>
        <translation>das Wurzelelement %1 ist keine QLC+-FixtureDefinition</translation>
    </message>
    <message>
        <source>no Manufacturer</source>
        <translation>kein Manufacturer (Hersteller)</translation>
    </message>
    <message>
        <source>no Model</source>
        <translation>kein Model (Modell)</translation>
    </message>
    <message>
        <source>larger than 16 MiB, not read</source>
        <translation>größer als 16 MiB, nicht gelesen</translation>
    </message>
    <message>
        <source>cannot be read: %1</source>
        <translation>lässt sich nicht lesen: %1</translation>
    </message>
    <message>
        <source>mode &quot;%1&quot; has no channels, skipped</source>
        <translation>Modus „%1“ hat keine Kanäle, übersprungen</translation>
    </message>
    <message>
        <source>mode &quot;%1&quot; has %2 channels; the controller takes at most %3</source>
        <translation>Modus „%1“ hat %2 Kanäle; der Controller nimmt höchstens %3</translation>
    </message>
    <message>
        <source>not a regular file, not read</source>
        <translation>keine gewöhnliche Datei, nicht gelesen</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>Datei existiert nicht</translation>
    </message>
</context>
<context>
    <name>QxfCatalogDialog</name>
    <message>
        <source>Import from QLC+ Fixtures</source>
        <translation>Aus QLC+-Fixtures importieren</translation>
    </message>
    <message>
        <source>Add Folder…</source>
        <translation>Ordner hinzufügen…</translation>
    </message>
    <message>
        <source>Add file…</source>
        <translation>Datei hinzufügen…</translation>
    </message>
    <message>
        <source>Filter by manufacturer or model</source>
        <translation>Nach Hersteller oder Modell filtern</translation>
    </message>
    <message>
        <source>Add to Library</source>
        <translation>Zur Bibliothek hinzufügen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Fixture</source>
        <translation>Fixture</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Kanäle</translation>
    </message>
    <message>
        <source>Searched: %1</source>
        <translation>Durchsucht: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n mode(s)</source>
        <translation>
            <numerusform>%n Modus</numerusform>
            <numerusform>%n Modi</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 ⚠</source>
        <translation>%1 ⚠</translation>
    </message>
    <message>
        <source>More than %1 channels: the controller cannot take this mode.</source>
        <translation>Mehr als %1 Kanäle: Der Controller kann diesen Modus nicht übernehmen.</translation>
    </message>
    <message>
        <source>This mode has no channels and is not imported.</source>
        <translation>Dieser Modus hat keine Kanäle und wird nicht importiert.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) skipped</source>
        <translation>
            <numerusform>%n Datei übersprungen</numerusform>
            <numerusform>%n Dateien übersprungen</numerusform>
        </translation>
    </message>
    <message>
        <source>%1. %2</source>
        <translation>%1. %2</translation>
    </message>
    <message numerus="yes">
        <source>%n definition(s) added to the library</source>
        <translation>
            <numerusform>%n Definition zur Bibliothek hinzugefügt</numerusform>
            <numerusform>%n Definitionen zur Bibliothek hinzugefügt</numerusform>
        </translation>
    </message>
    <message>
        <source>QLC+ Fixtures (*.qxf *.QXF)</source>
        <translation>QLC+-Fixtures (*.qxf *.QXF)</translation>
    </message>
    <message>
        <source>Add QLC+ Fixture Folder</source>
        <translation>QLC+-Fixture-Ordner hinzufügen</translation>
    </message>
    <message numerus="yes">
        <source>%n empty mode(s) skipped</source>
        <translation>
            <numerusform>%n leerer Modus übersprungen</numerusform>
            <numerusform>%n leere Modi übersprungen</numerusform>
        </translation>
    </message>
    <message>
        <source>%1, %2</source>
        <comment>two counts</comment>
        <translation>%1, %2</translation>
    </message>
    <message numerus="yes">
        <source>%n fixture(s)</source>
        <translation>
            <numerusform>%n Fixture</numerusform>
            <numerusform>%n Fixtures</numerusform>
        </translation>
    </message>
    <message>
        <source>Add QLC+ Fixture Files</source>
        <translation>QLC+-Fixture-Dateien hinzufügen</translation>
    </message>
</context>
<context>
    <name>QxfCommand</name>
    <message>
        <source>Usage: kdr450p-tool qxf list DIR_OR_FILE... [--json]

Lists every mode of the QLC+ fixture files (.qxf) in the given folders (searched
recursively) and files: manufacturer, model, mode, type and channel count, in the order
the import takes them. Files that cannot be read are listed on stderr with the reason.
Exit status 0 when at least one file was read, 1 when none could be, 2 on a usage error.

Options:
  --json   print one JSON document (UTF-8):
           {&quot;fixtures&quot;: [{&quot;file&quot;, &quot;manufacturer&quot;, &quot;model&quot;, &quot;type&quot;,
             &quot;modes&quot;: [{&quot;name&quot;, &quot;channels&quot;: [names]}]}],
            &quot;skipped&quot;: [{&quot;file&quot;, &quot;reason&quot;}]}
           &quot;file&quot; is relative to the folder given, or as given for a file.
</source>
        <translation>Aufruf: kdr450p-tool qxf list ORDNER_ODER_DATEI... [--json]

Listet jeden Modus der QLC+-Fixture-Dateien (.qxf) in den angegebenen Ordnern (rekursiv
durchsucht) und Dateien: Hersteller, Modell, Modus, Typ und Kanalanzahl, in der Reihenfolge,
in der der Import sie nimmt. Unlesbare Dateien stehen mit dem Grund auf stderr.
Exit-Status 0, wenn mindestens eine Datei gelesen wurde, 1, wenn keine, 2 bei falschem Aufruf.

Optionen:
  --json   ein JSON-Dokument (UTF-8) ausgeben:
           {&quot;fixtures&quot;: [{&quot;file&quot;, &quot;manufacturer&quot;, &quot;model&quot;, &quot;type&quot;,
             &quot;modes&quot;: [{&quot;name&quot;, &quot;channels&quot;: [names]}]}],
            &quot;skipped&quot;: [{&quot;file&quot;, &quot;reason&quot;}]}
           „file“ ist relativ zum angegebenen Ordner, bei einer Datei wie angegeben.
</translation>
    </message>
    <message>
        <source>cannot write the output</source>
        <translation>die Ausgabe lässt sich nicht schreiben</translation>
    </message>
    <message numerus="yes">
        <source>%n channel(s)</source>
        <translation>
            <numerusform>%n Kanal</numerusform>
            <numerusform>%n Kanäle</numerusform>
        </translation>
    </message>
    <message>
        <source>skipped %1: %2
</source>
        <translation>übersprungen %1: %2
</translation>
    </message>
    <message>
        <source>no fixture file could be read</source>
        <translation>keine Fixture-Datei ließ sich lesen</translation>
    </message>
    <message>
        <source>unknown subcommand &apos;%1&apos; (see kdr450p-tool qxf --help)</source>
        <translation>unbekannter Unterbefehl „%1“ (siehe kdr450p-tool qxf --help)</translation>
    </message>
    <message>
        <source>expected DIR_OR_FILE</source>
        <translation>ORDNER_ODER_DATEI erwartet</translation>
    </message>
</context>
<context>
    <name>RemoteFixtureDefinitionListModel</name>
    <message>
        <source>Fixture Name</source>
        <translation>Fixture-Name</translation>
    </message>
    <message>
        <source>#Channels</source>
        <translation>Kanäle</translation>
    </message>
    <message>
        <source>Manufacturer</source>
        <translation>Hersteller</translation>
    </message>
    <message>
        <source>Slot</source>
        <translation>Platz</translation>
    </message>
</context>
<context>
    <name>SimulatedStateText</name>
    <message>
        <source>--simulate-state needs the path of a state file</source>
        <translation>--simulate-state braucht den Pfad einer Zustandsdatei</translation>
    </message>
    <message>
        <source>  --simulate-state FILE  with --simulate: keep the simulated stores in FILE between runs
</source>
        <translation>  --simulate-state DATEI  mit --simulate: die simulierten Speicher zwischen Aufrufen in DATEI halten
</translation>
    </message>
    <message>
        <source>cannot read the simulator state %1: %2</source>
        <translation>der Simulatorzustand %1 lässt sich nicht lesen: %2</translation>
    </message>
    <message>
        <source>the simulator state %1 is damaged: %2</source>
        <translation>der Simulatorzustand %1 ist beschädigt: %2</translation>
    </message>
    <message>
        <source>the simulator state %1 holds a bad record</source>
        <translation>der Simulatorzustand %1 enthält einen fehlerhaften Datensatz</translation>
    </message>
    <message>
        <source>cannot write the simulator state %1: %2</source>
        <translation>der Simulatorzustand %1 lässt sich nicht schreiben: %2</translation>
    </message>
    <message>
        <source>the simulator state %1 holds a bad firmware fault</source>
        <translation>der Simulatorzustand %1 enthält einen ungültigen Firmware-Fehler</translation>
    </message>
</context>
<context>
    <name>StoreCommand</name>
    <message>
        <source>Usage: kdr450p-tool device clear-patch-list [--yes] [options]

Erases the controller&apos;s patch list, which must be empty before
definitions can be uploaded or deleted.
  --yes           do not ask before erasing
</source>
        <translation>Aufruf: kdr450p-tool device clear-patch-list [--yes] [Optionen]

Löscht die Patch-Liste des Controllers, die leer sein muss, bevor
Definitionen hochgeladen oder gelöscht werden können.
  --yes           vor dem Löschen nicht nachfragen
</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>unerwartetes Argument „%1“</translation>
    </message>
    <message>
        <source>The current patch list will be erased.
Do you want to continue?</source>
        <translation>Die aktuelle Patch-Liste wird gelöscht.
Möchten Sie fortfahren?</translation>
    </message>
    <message>
        <source>patch list not cleared: not confirmed (add --yes to clear without asking)</source>
        <translation>Patch-Liste nicht gelöscht: nicht bestätigt (mit --yes ohne Nachfrage löschen)</translation>
    </message>
    <message>
        <source>clearing the patch list of %1 failed: %2</source>
        <translation>das Löschen der Patch-Liste von %1 ist fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>Cleared the patch list of %1.
</source>
        <translation>Die Patch-Liste von %1 wurde gelöscht.
</translation>
    </message>
    <message>
        <source>unknown subcommand &apos;%1&apos;</source>
        <translation>unbekannter Unterbefehl „%1“</translation>
    </message>
    <message>
        <source>Usage: kdr450p-tool device delete --slot N... [--clear-patch-list] [options]

Deletes the definitions stored in the given slots.
  --slot N            delete the definition in slot N (repeatable; see &apos;device fixtures&apos;)
  --clear-patch-list  erase a non-empty patch list instead of refusing
</source>
        <translation>Aufruf: kdr450p-tool device delete --slot N... [--clear-patch-list] [Optionen]

Löscht die in den angegebenen Slots gespeicherten Definitionen.
  --slot N            die Definition in Slot N löschen (wiederholbar; siehe „device fixtures“)
  --clear-patch-list  eine nicht leere Patch-Liste löschen statt abzulehnen
</translation>
    </message>
    <message>
        <source>Deleted slot %1 from %2.
</source>
        <translation>Slot %1 auf %2 gelöscht.
</translation>
    </message>
    <message>
        <source>deletion</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>deletion on %1 failed: %2; slots deleted before stay deleted</source>
        <translation>Löschen auf %1 fehlgeschlagen: %2; zuvor gelöschte Slots bleiben gelöscht</translation>
    </message>
    <message>
        <source>name at least one --slot N</source>
        <translation>mindestens ein --slot N angeben</translation>
    </message>
    <message>
        <source>Deleting</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>cannot append to %1: %2</source>
        <translation>an %1 lässt sich nicht anhängen: %2</translation>
    </message>
    <message>
        <source>expects one OUT.blfl file</source>
        <translation>erwartet eine AUS.blfl-Datei</translation>
    </message>
    <message>
        <source>No fixture definitions are stored on %1.
</source>
        <translation>Auf %1 sind keine Fixture-Definitionen gespeichert.
</translation>
    </message>
    <message>
        <source>Downloading</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>downloading from %1 failed: %2; %3 was not changed</source>
        <translation>Herunterladen von %1 fehlgeschlagen: %2; %3 wurde nicht verändert</translation>
    </message>
    <message>
        <source>cannot save %1: %2</source>
        <translation>%1 lässt sich nicht speichern: %2</translation>
    </message>
    <message>
        <source>%1 %2 from %3 to %4.
</source>
        <translation>%1: %2 von %3 nach %4.
</translation>
    </message>
    <message>
        <source>Appended</source>
        <translation>Angehängt</translation>
    </message>
    <message>
        <source>Downloaded</source>
        <translation>Heruntergeladen</translation>
    </message>
    <message>
        <source>Slot</source>
        <translation>Slot</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Manufacturer</source>
        <translation>Hersteller</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Kanäle</translation>
    </message>
    <message>
        <source>upload refused (channel counts): &apos;%1&apos; has %2 channels; every definition needs 1 to %3</source>
        <translation>Hochladen abgelehnt (Kanalanzahl): „%1“ hat %2 Kanäle; jede Definition braucht 1 bis %3</translation>
    </message>
    <message>
        <source>Uploaded %1 to %2.
</source>
        <translation>%1 auf %2 hochgeladen.
</translation>
    </message>
    <message>
        <source>upload</source>
        <translation>Hochladen</translation>
    </message>
    <message>
        <source>upload refused (channel counts): every definition needs 1 to %1 channels</source>
        <translation>Hochladen abgelehnt (Kanalanzahl): jede Definition braucht 1 bis %1 Kanäle</translation>
    </message>
    <message>
        <source>upload to %1 failed: %2; definitions written before stay</source>
        <translation>Hochladen auf %1 fehlgeschlagen: %2; zuvor geschriebene Definitionen bleiben</translation>
    </message>
    <message>
        <source>expects one LIBRARY file</source>
        <translation>erwartet eine BIBLIOTHEK-Datei</translation>
    </message>
    <message>
        <source>cannot load %1: %2</source>
        <translation>%1 lässt sich nicht laden: %2</translation>
    </message>
    <message>
        <source>%1 holds no definition named &apos;%2&apos;</source>
        <translation>%1 enthält keine Definition namens „%2“</translation>
    </message>
    <message>
        <source>%1 holds no definitions; nothing to upload.
</source>
        <translation>%1 enthält keine Definitionen; nichts hochzuladen.
</translation>
    </message>
    <message>
        <source>upload %1</source>
        <translation>Hochladen %1</translation>
    </message>
    <message>
        <source>Uploading</source>
        <translation>Hochladen</translation>
    </message>
    <message>
        <source>expects one firmware FILE</source>
        <translation>erwartet eine Firmware-DATEI</translation>
    </message>
    <message>
        <source>update refused (wrong device): %1 holds firmware for &apos;%2&apos;, but %3 is a &apos;%4&apos;</source>
        <translation>Update abgelehnt (falsches Gerät): %1 enthält Firmware für „%2“, aber %3 ist ein „%4“</translation>
    </message>
    <message>
        <source>Programming</source>
        <translation>Programmieren</translation>
    </message>
    <message>
        <source>firmware update of %1 failed: %2</source>
        <translation>Firmware-Update von %1 fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>Programmed %1 with %2 (%3 bytes).
</source>
        <translation>%1 mit %2 programmiert (%3 Byte).
</translation>
    </message>
    <message>
        <source>--simulate-state needs --simulate</source>
        <translation>--simulate-state braucht --simulate</translation>
    </message>
    <message>
        <source>refused (wrong device): %1 is not a %2</source>
        <translation>abgelehnt (falsches Gerät): %1 ist kein %2</translation>
    </message>
    <message>
        <source>refused (outdated device): %1 needs software newer than 1.1 for its fixture store; update its firmware</source>
        <translation>abgelehnt (veraltetes Gerät): %1 braucht für seinen Fixture-Speicher eine Software neuer als 1.1; aktualisieren Sie seine Firmware</translation>
    </message>
    <message>
        <source>fixture list %1</source>
        <translation>Fixture-Liste %1</translation>
    </message>
    <message>
        <source>the fixture list of %1 is malformed</source>
        <translation>die Fixture-Liste von %1 ist fehlerhaft</translation>
    </message>
    <message>
        <source>reading the fixture list of %1 failed: %2</source>
        <translation>das Lesen der Fixture-Liste von %1 ist fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 braucht einen Wert</translation>
    </message>
    <message>
        <source>--slot needs a slot number from 0 to 255, not &apos;%1&apos;</source>
        <translation>--slot braucht eine Slot-Nummer von 0 bis 255, nicht „%1“</translation>
    </message>
    <message>
        <source>%1 refused (patch list): the patch list of %2 is not empty; clear it with &apos;kdr450p-tool device clear-patch-list&apos; or add --clear-patch-list</source>
        <translation>%1 abgelehnt (Patch-Liste): die Patch-Liste von %2 ist nicht leer; mit „kdr450p-tool device clear-patch-list“ löschen oder --clear-patch-list angeben</translation>
    </message>
    <message>
        <source>slot %1 of %2 holds no definition (see &apos;kdr450p-tool device fixtures&apos;)</source>
        <translation>Slot %1 von %2 enthält keine Definition (siehe „kdr450p-tool device fixtures“)</translation>
    </message>
    <message>
        <source>Usage: kdr450p-tool device &lt;subcommand&gt; [options]

The fixture store of a controller:
  fixtures [--json] [--channels]         list the stored definitions, free slots
  show --slot N [--json]                 list one stored definition&apos;s channels
  upload LIBRARY [--only NAME]... [--skip-existing]
                                         upload definitions of a library file
  download OUT.blfl [--slot N]...        read stored definitions into a library
  delete --slot N...                     delete stored definitions
  clear-patch-list [--yes]               erase the controller&apos;s patch list

Options of every subcommand:
</source>
        <translation>Aufruf: kdr450p-tool device &lt;Unterbefehl&gt; [Optionen]

Der Gerätespeicher eines Controllers:
  fixtures [--json] [--channels]         gespeicherte Definitionen, freie Slots auflisten
  show --slot N [--json]                 die Kanäle einer gespeicherten Definition auflisten
  upload BIBLIOTHEK [--only NAME]... [--skip-existing]
                                         Definitionen einer Bibliotheksdatei hochladen
  download AUS.blfl [--slot N]...        gespeicherte Definitionen in eine Bibliothek lesen
  delete --slot N...                     gespeicherte Definitionen löschen
  clear-patch-list [--yes]               die Patch-Liste des Controllers löschen

Optionen aller Unterbefehle:
</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>Usage: kdr450p-tool device fixtures [--json] [--channels] [options]

Lists the fixture definitions stored on a controller (slot, name, manufacturer,
channels), its capacity, free slots and whether its patch list is empty.
  --json          print the JSON form of &apos;library list --json&apos;, each definition with its
                  &quot;slot&quot;, after &quot;device&quot;, &quot;capacity&quot;, &quot;freeSlots&quot; and
                  &quot;patchListEmpty&quot;; &apos;library create --from-json&apos; reads it
  --channels      read every stored record for its channels (slower)
</source>
        <translation>Aufruf: kdr450p-tool device fixtures [--json] [--channels] [Optionen]

Listet die auf einem Controller gespeicherten Gerätedefinitionen (Slot, Name, Hersteller,
Kanäle), seine Kapazität, freie Slots und ob seine Patch-Liste leer ist.
  --json          die JSON-Form von „library list --json“ ausgeben, jede Definition mit
                  ihrem &quot;slot&quot;, nach &quot;device&quot;, &quot;capacity&quot;, &quot;freeSlots&quot; und
                  &quot;patchListEmpty&quot;; „library create --from-json“ liest sie
  --channels      jeden gespeicherten Datensatz für seine Kanäle lesen (langsamer)
</translation>
    </message>
    <message>
        <source>Usage: kdr450p-tool device show --slot N [--json] [options]

Reads the definition stored in slot N and lists its channels: number, name, short name.
  --json          print it in the JSON form of &apos;device fixtures --json --channels&apos;
</source>
        <translation>Aufruf: kdr450p-tool device show --slot N [--json] [Optionen]

Liest die in Slot N gespeicherte Definition und listet ihre Kanäle: Nummer, Name, Kurzname.
  --json          sie in der JSON-Form von „device fixtures --json --channels“ ausgeben
</translation>
    </message>
    <message>
        <source>%1: %2 stored, free slots unknown</source>
        <translation>%1: %2 gespeichert, freie Slots unbekannt</translation>
    </message>
    <message>
        <source>%1: %2 stored, %3 of %4 slots free</source>
        <translation>%1: %2 gespeichert, %3 von %4 Slots frei</translation>
    </message>
    <message>
        <source>; patch list in use
</source>
        <translation>; Patch-Liste belegt
</translation>
    </message>
    <message>
        <source>; patch list empty
</source>
        <translation>; Patch-Liste leer
</translation>
    </message>
    <message>
        <source>Reading</source>
        <translation>Lesen</translation>
    </message>
    <message>
        <source>reading the stored records of %1 failed: %2</source>
        <translation>das Lesen der gespeicherten Datensätze von %1 ist fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>cannot write the output</source>
        <translation>die Ausgabe kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>name one --slot N</source>
        <translation>genau ein --slot N angeben</translation>
    </message>
    <message>
        <source>slot %1 did not read back</source>
        <translation>Slot %1 ließ sich nicht zurücklesen</translation>
    </message>
    <message>
        <source>Slot %1 of %2: &quot;%3&quot; by &quot;%4&quot;, %5 channels
</source>
        <translation>Slot %1 von %2: „%3“ von „%4“, %5 Kanäle
</translation>
    </message>
    <message>
        <source>Usage: kdr450p-tool device upload LIBRARY [--only NAME]... [--skip-existing]
                                  [--clear-patch-list] [options]

Uploads the definitions of a library file (all, or those whose fixture name is NAME;
LIBRARY - reads it from standard input) and prints the slot each one went to. Names the
controller shows differently (characters outside Latin-1, names cut to their field)
are warned about on standard error, one line each.
  --only NAME         upload only definitions with this fixture name (repeatable)
  --skip-existing     leave out definitions whose record the controller already holds
  --clear-patch-list  erase a non-empty patch list instead of refusing
</source>
        <translation>Aufruf: kdr450p-tool device upload BIBLIOTHEK [--only NAME]... [--skip-existing]
                                  [--clear-patch-list] [Optionen]

Lädt die Definitionen einer Bibliotheksdatei hoch (alle oder die mit dem Gerätenamen NAME;
BIBLIOTHEK - liest sie von der Standardeingabe) und gibt aus, in welchen Slot jede kam.
Namen, die der Controller anders zeigt (Zeichen außerhalb von Latin-1, auf ihr Feld
gekürzte Namen), werden auf der Standardfehlerausgabe gemeldet, je eine Zeile.
  --only NAME         nur Definitionen mit diesem Gerätenamen hochladen (wiederholbar)
  --skip-existing     Definitionen auslassen, deren Datensatz der Controller schon hat
  --clear-patch-list  eine nicht leere Patch-Liste löschen statt abzulehnen
</translation>
    </message>
    <message>
        <source>upload refused (free slots): %1 has fewer free slots than the %2 needed</source>
        <translation>Hochladen abgelehnt (freie Slots): %1 hat weniger freie Slots als die %2 benötigten</translation>
    </message>
    <message>
        <source>upload refused (free slots): %1 has %2 free, the upload needs %3</source>
        <translation>Hochladen abgelehnt (freie Slots): %1 hat %2 frei, das Hochladen braucht %3</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is stored as &quot;%2&quot;</source>
        <translation>„%1“ wird als „%2“ gespeichert</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: %2 &quot;%3&quot; is stored as &quot;%4&quot;</source>
        <translation>„%1“: %2 „%3“ wird als „%4“ gespeichert</translation>
    </message>
    <message>
        <source>Comparing</source>
        <translation>Vergleichen</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: slot unknown
</source>
        <translation>„%1“: Slot unbekannt
</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: slot %2
</source>
        <translation>„%1“: Slot %2
</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: already in slot %2, skipped
</source>
        <translation>„%1“: schon in Slot %2, ausgelassen
</translation>
    </message>
    <message>
        <source>Uploaded 0 definitions to %1: it holds them all.
</source>
        <translation>0 Definitionen auf %1 hochgeladen: es hat sie alle schon.
</translation>
    </message>
    <message>
        <source>Usage: kdr450p-tool firmware update FILE [--device N] [--yes] [options]

Programs a controller with a firmware file (.bl2; FILE - reads standard input)
and prints its software version before and after.
  --yes           do not ask before programming
</source>
        <translation>Aufruf: kdr450p-tool firmware update DATEI [--device N] [--yes] [Optionen]

Programmiert einen Controller mit einer Firmware-Datei (.bl2; DATEI - liest die
Standardeingabe) und gibt seine Softwareversion davor und danach aus.
  --yes           vor dem Programmieren nicht fragen
</translation>
    </message>
    <message>
        <source>%1 will be programmed with %2.
Do you want to continue?</source>
        <translation>%1 wird mit %2 programmiert.
Möchten Sie fortfahren?</translation>
    </message>
    <message>
        <source>firmware not updated: not confirmed (add --yes to program without asking)</source>
        <translation>Firmware nicht aktualisiert: nicht bestätigt (mit --yes ohne Nachfrage programmieren)</translation>
    </message>
    <message>
        <source>Software version before: %1
</source>
        <translation>Softwareversion davor:  %1
</translation>
    </message>
    <message>
        <source>Software version after:  %1
</source>
        <translation>Softwareversion danach: %1
</translation>
    </message>
    <message>
        <source>Software version after:  unknown (the controller does not answer yet)
</source>
        <translation>Softwareversion danach: unbekannt (der Controller antwortet noch nicht)
</translation>
    </message>
    <message>
        <source>no such port: %1</source>
        <translation>keine solche Schnittstelle: %1</translation>
    </message>
    <message>
        <source>there is no %1 #%2: %3 controllers answer (see &apos;kdr450p-tool devices&apos;)</source>
        <translation>es gibt kein %1 #%2: %3 Controller antworten (siehe „kdr450p-tool devices“)</translation>
    </message>
    <message>
        <source>no controller found</source>
        <translation>kein Controller gefunden</translation>
    </message>
    <message>
        <source>no controller answers on %1</source>
        <translation>an %1 antwortet kein Controller</translation>
    </message>
    <message>
        <source>%1 #%2 (software %3)</source>
        <translation>%1 #%2 (Software %3)</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>Warnung: %1</translation>
    </message>
    <message>
        <source>1 definition</source>
        <translation>1 Definition</translation>
    </message>
    <message>
        <source>%1 definitions</source>
        <translation>%1 Definitionen</translation>
    </message>
    <message>
        <source>%1 has no slot %2: its slots are 0 to %3</source>
        <translation>%1 hat keinen Slot %2: seine Slots sind 0 bis %3</translation>
    </message>
    <message>
        <source>Usage: kdr450p-tool device download OUT.blfl [--slot N]... [--force] [options]

Reads stored definitions (all, or those of the given slots) into a library file; an
existing library gets them appended (the file is replaced only once fully written).
OUT must be a regular file or a new name in a writable folder, checked before the
transfer; OUT - writes the library to standard output.
  --slot N        read the definition in slot N (repeatable; see &apos;device fixtures&apos;)
  --force         append even when OUT holds content this version does not support
                  (damaged entries, unknown elements); that content is lost, the
                  definitions that load are kept
</source>
        <translation>Aufruf: kdr450p-tool device download AUS.blfl [--slot N]... [--force] [Optionen]

Liest gespeicherte Definitionen (alle oder die der angegebenen Slots) in eine
Bibliotheksdatei; an eine vorhandene Bibliothek werden sie angehängt (die Datei wird erst
ersetzt, wenn sie vollständig geschrieben ist). AUS muss eine gewöhnliche Datei oder ein
neuer Name in einem beschreibbaren Ordner sein, geprüft vor der Übertragung; AUS -
schreibt die Bibliothek auf die Standardausgabe.
  --slot N        die Definition in Slot N lesen (wiederholbar; siehe „device fixtures“)
  --force         auch anhängen, wenn AUS Inhalte enthält, die diese Version nicht
                  unterstützt (beschädigte Einträge, unbekannte Elemente); diese Inhalte
                  gehen verloren, die ladbaren Definitionen bleiben erhalten
</translation>
    </message>
    <message>
        <source>%1 holds content this version does not support; appending keeps only the definitions that load</source>
        <translation>%1 enthält Inhalte, die diese Version nicht unterstützt; beim Anhängen bleiben nur die ladbaren Definitionen erhalten</translation>
    </message>
    <message>
        <source>cannot append to %1: it holds content this version does not support, which saving would lose (add --force to append anyway)</source>
        <translation>an %1 lässt sich nicht anhängen: sie enthält Inhalte, die diese Version nicht unterstützt und die beim Speichern verloren gingen (--force hängt trotzdem an)</translation>
    </message>
    <message>
        <source>%1 (see kdr450p-tool %2 --help)</source>
        <translation>%1 (siehe kdr450p-tool %2 --help)</translation>
    </message>
    <message>
        <source>update refused (wrong device): %1 does not call itself %2; nothing was programmed</source>
        <translation>Update abgelehnt (falsches Gerät): %1 nennt sich nicht %2; es wurde nichts programmiert</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>the controller does not call itself %1</source>
        <translation>der Controller nennt sich nicht %1</translation>
    </message>
    <message>
        <source>invalid handle</source>
        <translation>ungültiges Handle</translation>
    </message>
    <message>
        <source>device not found</source>
        <translation>Gerät nicht gefunden</translation>
    </message>
    <message>
        <source>device not opened</source>
        <translation>Gerät nicht geöffnet</translation>
    </message>
    <message>
        <source>input/output error</source>
        <translation>Ein-/Ausgabefehler</translation>
    </message>
    <message>
        <source>insufficient resources</source>
        <translation>unzureichende Ressourcen</translation>
    </message>
    <message>
        <source>invalid parameter</source>
        <translation>ungültiger Parameter</translation>
    </message>
    <message>
        <source>unknown status</source>
        <translation>unbekannter Status</translation>
    </message>
    <message>
        <source>no answer from the controller within %1 ms</source>
        <translation>keine Antwort vom Controller innerhalb von %1 ms</translation>
    </message>
    <message>
        <source>link lost: the USB device vanished</source>
        <translation>Verbindung verloren: das USB-Gerät ist verschwunden</translation>
    </message>
    <message>
        <source>link lost: driver error %1: %2</source>
        <translation>Verbindung verloren: Treiberfehler %1: %2</translation>
    </message>
    <message>
        <source>link lost: a frame did not leave within %1 ms</source>
        <translation>Verbindung verloren: ein Rahmen ging nicht innerhalb von %1 ms hinaus</translation>
    </message>
    <message>
        <source>the controller answered status %1</source>
        <translation>der Controller hat mit Status %1 geantwortet</translation>
    </message>
    <message>
        <source>the controller&apos;s answer was longer than asked for</source>
        <translation>die Antwort des Controllers war länger als angefragt</translation>
    </message>
    <message>
        <source>the controller&apos;s answer had the wrong size</source>
        <translation>die Antwort des Controllers hatte die falsche Größe</translation>
    </message>
    <message>
        <source>invalid request</source>
        <translation>ungültige Anfrage</translation>
    </message>
    <message>
        <source>the controller is not a %1 with software newer than 1.1</source>
        <translation>der Controller ist kein %1 mit einer Software neuer als 1.1</translation>
    </message>
    <message>
        <source>no cause reported</source>
        <translation>keine Ursache gemeldet</translation>
    </message>
</context>
<context>
    <name>ToolFilesText</name>
    <message>
        <source>standard input</source>
        <translation>Standardeingabe</translation>
    </message>
    <message>
        <source>cannot read standard input: %1</source>
        <translation>die Standardeingabe kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>standard output</source>
        <translation>Standardausgabe</translation>
    </message>
    <message>
        <source>cannot make a temporary file: %1</source>
        <translation>es lässt sich keine temporäre Datei anlegen: %1</translation>
    </message>
    <message>
        <source>cannot read back the output: %1</source>
        <translation>die Ausgabe kann nicht zurückgelesen werden: %1</translation>
    </message>
    <message>
        <source>cannot write to standard output</source>
        <translation>auf die Standardausgabe kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>cannot write %1: not a regular file</source>
        <translation>%1 kann nicht geschrieben werden: keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>cannot write %1: no permission to write it</source>
        <translation>%1 kann nicht geschrieben werden: keine Schreibberechtigung</translation>
    </message>
    <message>
        <source>cannot write %1: the folder %2 does not exist</source>
        <translation>%1 kann nicht geschrieben werden: der Ordner %2 existiert nicht</translation>
    </message>
    <message>
        <source>cannot write %1: no permission to write in its folder</source>
        <translation>%1 kann nicht geschrieben werden: keine Schreibberechtigung in seinem Ordner</translation>
    </message>
</context>
<context>
    <name>ToolMain</name>
    <message>
        <source>read, check, re-save and create library files (.blfl)</source>
        <translation>Bibliotheksdateien (.blfl) lesen, prüfen, neu speichern und anlegen</translation>
    </message>
    <message>
        <source>list the attached controllers</source>
        <translation>die angeschlossenen Controller auflisten</translation>
    </message>
    <message>
        <source>print the information block of one controller</source>
        <translation>den Informationsblock eines Controllers ausgeben</translation>
    </message>
    <message>
        <source>list, upload, download and delete a controller&apos;s fixture definitions</source>
        <translation>die Fixture-Definitionen eines Controllers auflisten, hochladen, herunterladen und löschen</translation>
    </message>
    <message>
        <source>check firmware files (.bl2) and program controllers</source>
        <translation>Firmware-Dateien (.bl2) prüfen und Controller programmieren</translation>
    </message>
    <message>
        <source>Usage: kdr450p-tool &lt;command&gt; [options]

The command-line companion of the KDR-450P Fixture Library Editor.

Commands:
</source>
        <translation>Aufruf: kdr450p-tool &lt;Befehl&gt; [Optionen]

Das Kommandozeilen-Werkzeug zu KDR-450P Fixture Library Editor.

Befehle:
</translation>
    </message>
    <message>
        <source>
Run &apos;kdr450p-tool &lt;command&gt; --help&apos; for the options of one command.
</source>
        <translation>
„kdr450p-tool &lt;Befehl&gt; --help“ zeigt die Optionen eines Befehls.
</translation>
    </message>
    <message>
        <source>kdr450p-tool: unknown command &apos;%1&apos; (see kdr450p-tool --help)
</source>
        <translation>kdr450p-tool: unbekannter Befehl „%1“ (siehe kdr450p-tool --help)
</translation>
    </message>
    <message>
        <source>list the fixtures of QLC+ fixture files (.qxf)</source>
        <translation>die Fixtures von QLC+-Fixture-Dateien (.qxf) auflisten</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Edits KDR-450P fixture definition libraries and transfers them to and from the controller.</source>
        <translation>Bearbeitet Bibliotheken von KDR-450P-Fixture-Definitionen und überträgt sie zum und vom Controller.</translation>
    </message>
    <message>
        <source>Library file (.blfl) to open at start.</source>
        <translation>Bibliotheksdatei (.blfl), die beim Start geöffnet wird.</translation>
    </message>
    <message>
        <source>Work with the simulated controller.</source>
        <translation>Mit dem simulierten Controller arbeiten.</translation>
    </message>
    <message>
        <source>Reach the controller at PATH.</source>
        <translation>Den Controller unter PFAD ansprechen.</translation>
    </message>
    <message>
        <source>Driver backend: serial, qtserial or d2xx.</source>
        <translation>Treiber-Backend: serial, qtserial oder d2xx.</translation>
    </message>
    <message>
        <source>The D2XX driver library file to load.</source>
        <translation>Die zu ladende Bibliotheksdatei des D2XX-Treibers.</translation>
    </message>
    <message>
        <source>PATH</source>
        <comment>value in --help</comment>
        <translation>PFAD</translation>
    </message>
    <message>
        <source>NAME</source>
        <comment>value in --help</comment>
        <translation>NAME</translation>
    </message>
</context>
</TS>
