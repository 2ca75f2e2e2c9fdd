#ifndef TARVEL_TESTS_TRANSLATIONTEXTS_H
#define TARVEL_TESTS_TRANSLATIONTEXTS_H

// Every tag of the built-in translation document with its English, German
// and Russian text, in document order, as the program must show them.

struct TranslationText
{
    const char16_t* tag;
    const char16_t* english;
    const char16_t* german;
    const char16_t* russian;
};

// One tag a line, however long: a table to read across.
// clang-format off
inline const TranslationText kTranslationTexts[] = {
    {u"ON", u"on", u"ein", u"вкл"},
    {u"OFF", u"off", u"aus", u"выкл"},
    {u"ENABLE", u"Enabled", u"Aktiviert", u"Включено"},
    {u"DISABLE", u"Disabled", u"Deaktiviert", u"Выключено"},
    {u"ENABLE_OPT", u"Enable Option", u"Option Aktivieren", u"Включить Опцию"},
    {u"DISABLE_OPT", u"Disable Option", u"Option Deaktivieren", u"Выключить Опцию"},
    {u"UNKNOW_VAL", u"Uknown Value", u"Unbekannter Wert", u"Неизвестное Значение"},
    {u"SCHEME", u"Scheme", u"Schema", u"Схема"},
    {u"SAVE", u"Save", u"Speichern", u"Сохранить"},
    {u"CANCEL", u"Cancel", u"Abbrechen", u"Отмена"},
    {u"IGNORE", u"Ignore", u"Ignorieren", u"Игнорировать"},
    {u"APPLY", u"Apply", u"Einsetzen", u"Применить"},
    {u"RUN", u"Run", u"Starten", u"Запуск"},
    {u"RUN_INFO", u"Start Calculation", u"Berechnung Starten", u"Запусть вычеслительный процесс"},
    {u"RECENT_PRJ", u"Recent Projects", u"Aktuelle Projekte", u"Последние Проекты"},
    {u"GET_STARTED", u"Getting Started", u"Erste Schritte", u"Первые шаги"},
    {u"ADV_MODE", u"Advanced Mode", u"Erweiterter Modus", u"Расширенный режим"},
    {u"PRJ_SCHEM", u"New Project", u"Neues Projekt", u"Новый Проект"},
    {u"PRJ_OPEN", u"Open other Project", u"Anderes Projekt öffnen", u"Открыть другой Проект"},
    {u"PRJ_PATH", u"Project Directory", u"Ordner des Projektes", u"Папка Проекта"},
    {u"DIR_NO_CREATE", u"Cannot create specified Directory!", u"Das angegebene Verzeichnis kann nicht erstellt werden!", u"Указанный Путь не может быть создан!"},
    {u"DIR_NO_EMPTY0", u"Specified Directory is not empty. Existing files may be replaced.", u"Angegebener Ordner ist nicht leer. Existierende Dateien können ersetzt werden.", u"Указанная папка не пустая. Существующие файлы могут быть удалены."},
    {u"DIR_NO_EMPTY1", u"Replace existing files?", u"Ersetzen vorhandener Dateien?", u"Заменить существующие файлы?"},
    {u"CUSTOM_INP", u"File INP", u"Datei INP", u"Файл INP"},
    {u"MECHANISM", u"File MEC", u"Datei MEC", u"Файл MEC"},
    {u"MOL_DATA", u"File MOLNEW", u"Datei MOLNEW", u"Файл MOLNEW"},
    {u"THERM_DATA", u"File THERMO", u"Datei THERMO", u"Файл THERMO"},
    {u"OUTPUT_DATA", u"File Fort.87", u"Datei Fort.87", u"Файл Fort.87"},
    {u"ADD_NEW", u"Add", u"Hinfügen", u"Добавить"},
    {u"REMOVE", u"Remove", u"Entfernen", u"Удалить"},
    {u"IMPORT", u"Import", u"Importieren", u"Импортировать"},
    {u"CLOSE", u"Close", u"Beenden", u"Закрыть"},
    {u"NEW_SPECIES", u"New Species", u"Neue Species", u"Новый Элемент"},
    {u"SPECIES_EXIST", u"Species \"%NAME\" is already in the list", u"Species \"%NAME\" is schon in der Liste", u"Элемент \"%NAME\" уже есть в списке"},
    {u"SPECIES_ADDED", u"Species \"%NAME\" has been added", u"Species \"%NAME\" wurde hingefügt", u"Элемент \"%NAME\" был добавлен"},
    {u"SPECIES_WRONG", u"Species \"%NAME\" includes unknown elements", u"Species \"%NAME\" beenthaltet unbekante Elementen", u"Элемент \"%NAME\" содерижт неизвестные химеческие элементы"},
    {u"SPECIES_DLT", u"Species \"%NAME\" has been removed", u"Species \"%NAME\" wurde entfernt", u"Элемент \"%NAME\" был удален"},
    {u"BOUND_COND", u"Boundary conditions", u"Randbedingungen", u"Граничные условия"},
    {u"BC_CONCENTR", u"Concentration of", u"Konzentration von", u"Концентрация"},
    {u"PRESSURE", u"Pressure", u"Druck", u"Давление"},
    {u"TEMPERATURE", u"Temperature", u"Temperatur", u"Температура"},
    {u"CONVECT_VEL", u"Reactor volume", u"Volumen des Reaktors", u"Объём реактора"},
    {u"EIG_PRESSURE", u"Eigen value of the pressure gradient", u"Eigenwert des Druckgradienten", u"Собственное число градиента давления"},
    {u"SPECIES_USED", u"Species \"%NAME\" is used: \"%OPTION\"", u"Species \"%NAME\" ist benutzt \"%OPTION\"", u"Элемент \"%NAME\" задействован \"%OPTION\""},
    {u"SPECIES_DLT_FAIL", u"Cannot delete species \"%NAME\" because it is in use", u"Species \"%NAME\" kann nicht entfernt werden", u"Нельзя удалить Элемент \"%NAME\""},
    {u"START", u"Go", u"Los", u"Поехали"},
    {u"STOP", u"Stop", u"Stop", u"Стоп"},
    {u"GENF_NO_BC", u"No species in the boundary conditions. Must have at least one", u"Keine Species in den Randbedingungen. Muss mindesten 1 haben", u"Не указаны Элемны в граничных условия. Должен быть по меньшей мере 1"},
    {u"WRONG_PRJ_EXEC", u"Project Execution File \"%NAME\" doesn't exist or wrong", u"Projektausführungsdatei \"%NAME\" existiert nicht oder falsch", u"Исполняемый файл проекта \"%NAME\" не существует или указан не верно"},
    {u"NO_PRJ_EXEC", u"Project Execution File hasn't been yet specified", u"Projektausführungsdatei ist nocht nicht eingegeben", u"Исполняемый файл проекта ещё не был указан"},
    {u"WRONG_PRJ_PATH", u"Project Working Folder \"%NAME\" doesn't exist", u"Projektordner \"%NAME\" existiert nicht", u"Директория проекта \"%NAME\" не существует"},
    {u"NO_PRJ_PATH", u"Project Working Folder hasn't been yet specified", u"Projektordner ist nocht nicht eingegeben", u"Директория проекта ещё не была указана"},
    {u"NO_PRJ_FILES", u"Configuration Files haven't yet been generated.", u"Die Konfigurationsdateien wurden noch nicht generiert.", u"Конфигурационные файлы еще небыли сгенерированны."},
    {u"PRJ_FAILED_2START", u"The calculating programme is missing, or you may have insufficient permissions to invoke the programme.", u"Die Ausführungsdatei fällt oder Sie haben nicht ausreichende Privilegien das Programm zu starten", u"Исполняемый файл не существует или у Вас не достаточно прав для его запуска"},
    {u"PRJ_CRASHED", u"The calculating programme has crashed", u"Das Rechenprogramm hat abgestürzt", u"Произошол сбой в вычислительной прогамме и программа была закрыта"},
    {u"PRJ_TIMEDOUT", u"The calculating programme doesn't respond and will be closed", u"Das Rechenprogramm respondiert nicht und wird geschlossen.", u"Вычислительная прогамма не отвечает и будет закрыта."},
    {u"PRJ_WRITEERR", u"An error occurred when attempting to write to the calculating process.", u"Ein Fehler ist aufgetreten bei dem Versuch, in den Rechenprozess zu schreiben.", u"Возникла ошибка записи в вычислительный процесс."},
    {u"PRJ_READERR", u"Cannot read from the calculating process.", u"Kann vom Rechenprozess nicht lesen.", u"Не удалось получить информацию от вычислительного процесса."},
    {u"PRJ_UKNOWNERR", u"An unknown error occurred with the calculating programme.", u"Ein unerwarteter Fehler aufgetreten, während der Ausführung des Rechenprogrammes.", u"Не известная ошибка при выполнении вычислительного программы."},
    {u"PRJ_NO_CONFIG", u"Configuration file hasn't been yet generated.", u"Die Konfigurationsdatei wurde noch nicht generiert.", u"Файл конфигурации еще не был создан."},
    {u"FILE_OPEN", u"Failed to open the file \"%NAME\".", u"Die Datei \"%NAME\" kann nicht geöffnet werden.", u"Не удалось открыть файл \"%NAME\"."},
    {u"FILE_WRITE", u"Failed to write the file \"%NAME\".", u"Kann in die Datei \"%NAME\" nicht schreiben.", u"Не удалось произвести запись в файл \"%NAME\"."},
    {u"FILE_READ", u"Failed to read from the file \"%NAME\".", u"Die Datei \"%NAME\" kann nicht gelesen werden.", u"Не удалось произвести чтение файла \"%NAME\"."},
    {u"SIM_TIME", u"Results available till: %TIME s", u"Ergebnisse erhalten bis: %TIME s", u"Произведен расчет до времени: %TIME с"},
    {u"MENU_HOME", u"Home", u"Anfang", u"Начало"},
    {u"MENU_SETTINGS", u"Options", u"Optionen", u"Опции"},
    {u"MENU_CONSOLE", u"Terminal", u"Terminal", u"Терминал"},
    {u"MENU_FILES", u"Files", u"Dateien", u"Файлы"},
    {u"MENU_GRAPH2", u"Graph 2D", u"Graphik 2D", u"График 2D"},
    {u"MENU_RESULTS", u"Results", u"Ergebnisse", u"Результаты"},
    {u"PRJ_SAVE0", u"Save Project", u"Projekt Speichern", u"Сохранить Проект"},
    {u"PRJ_SAVE1", u"Save current Project", u"Aktuellen Projekt Speichern", u"Сохранить данный Проект"},
    {u"PRJ_SAVEAS0", u"Save Project As", u"Projekt Speichern unter", u"Сохранить Проект как"},
    {u"PRJ_SAVEAS1", u"Save current Project to a different file", u"Aktuellen Projekt in eine andere Datei Speichern", u"Сохранить данный Проект в другой файл"},
    {u"PRJ_OPEN0", u"Open Project", u"Projekt Öffnen", u"Открыть Проект"},
    {u"PRJ_OPEN1", u"Open existing Project", u"Existierendes Projekt Öffnen", u"Открыть существующий Проект"},
    {u"EXIT", u"Exit", u"Beenden", u"Выход"},
    {u"EXIT_INFO", u"Exit Programme", u"Programm Beenden", u"Выход из программы"},
    {u"RUN_PROFILES", u"Run with Profile", u"Starten mit Profil", u"Запуск с Профилем"},
    {u"SHOW_ALL", u"Show all results", u"Alles zeigen", u"Показать всё"},
    {u"EXPORT_DATA", u"Export Data", u"Daten exportiern", u"Экспортировать данные"},
    {u"EXPORT_DATA_INFO", u"Export simulated Data as a Table", u"Berechnete Daten als eine Tabelle exportiern", u"Экспортировать данные вычислений в табличном виде"},
    {u"FILE_SAVE_SUCCESS", u"File has been saved", u"Datei wurde gespeichert", u"Файл сорхранён"},
    {u"FILE_SAVE_FAILURE", u"Failed to save File", u"Datei konnte nicht gespeichert werden", u"Нe удалось сохранить Файл"},
    {u"SCHEMES_DAT_MISSING", u"Schemes Database is missing!", u"Schemen-Databank fehlt!", u"Отсутствует База данных схем!"},
    {u"SCHEMES_DAT_MISSING_INFO", u"%FILE is required for programme start", u"%FILE ist für Programausführung notwendig", u"%FILE необходим для запуска программы"},
    {u"THERM", u"Thermo Data", u"Thermodaten", u"Термодинамические данные"},
};
// clang-format on

#endif
