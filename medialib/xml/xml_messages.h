#pragma once

// The messages of the document library, as the user sees them. A "%s" or "%c" is filled with the
// name, text or character concerned.
namespace rv::xml_messages {

// Document model.
inline constexpr char kListIndex[] = "Ошибка получения элемента списка: индекс выходит за пределы";
inline constexpr char kChildNotFound[] = "Ошибка: не найден дочерний элемент \"%s\".";
inline constexpr char kNotSupported[] = "Данная возможность не поддерживается SimpleXML";
inline constexpr char kInsertIntoOwnSubtree[] =
    "Узел нельзя вставить в него самого или в его потомка";
inline constexpr char kInsertDocument[] = "Документ нельзя вставить в другой узел";

// Text parser.
inline constexpr char kUnfinishedElement[] = "Не завершено определение элемента";
inline constexpr char kBadNameChar[] = "Некорретный символ в имени элемента";
inline constexpr char kNameStart[] = "Имя должно начинаться с буквы или \"_\"";
inline constexpr char kAttrValueExpected[] = "Ожидается значение атрибута";
inline constexpr char kQuotedExpected[] = "Ожидается строковая константа";
inline constexpr char kLessThanInAttr[] =
    "Символ \"<\" не может использоваться в значениях атрибутов";
inline constexpr char kQuoteExpected[] = "Ожидается \"%s\"";
inline constexpr char kReferenceExpected[] = "Ожидается \"#\" или имя упрамляющего символа";
inline constexpr char kNumberExpected[] = "Ожидается число";
inline constexpr char kHexNumberExpected[] = "Ожидается шестнадцатеричное число";
inline constexpr char kBadEntityName[] = "Некорректное имя управляющего символа";
inline constexpr char kTextExpected[] = "Ожидается \"%s\"";
inline constexpr char kCharExpected[] = "Ожидается \"%c\"";
inline constexpr char kBadCharCode[] = "Недопустимый код символа: %s";
inline constexpr char kNulInInput[] = "Недопустимый символ с кодом 0";
inline constexpr char kTooDeep[] = "Слишком глубокая вложенность элементов (более %d уровней)";
inline constexpr char kBadUtf8[] = "Некорректная последовательность байтов UTF-8";
inline constexpr char kUnsupportedEncoding[] = "Кодировка \"%s\" не поддерживается";
inline constexpr char kBadBytes[] = "Некорректная последовательность байтов в кодировке \"%s\"";

// Writer and files.
inline constexpr char kNotOneRoot[] =
    "Документ должен содержать ровно один корневой элемент и никакого текста вне его";
inline constexpr char kNameNotEncodable[] = "Имя \"%s\" нельзя записать в кодировке \"%s\"";
inline constexpr char kTextNotEncodable[] = "Текст нельзя записать в кодировке \"%s\"";
inline constexpr char kCannotReadFile[] = "Не удалось прочитать файл \"%s\"";
inline constexpr char kStreamWriteFailed[] = "Ошибка записи в поток";
inline constexpr char kStreamReadFailed[] = "Ошибка чтения из потока";

// Values and attributes.
inline constexpr char kNotAFloat[] = "\"%s\" не является числом";
inline constexpr char kNotAnInteger[] = "\"%s\" не является целым числом";
inline constexpr char kIntegerRange[] = "Значение %s не помещается в %s";
inline constexpr char kCannotConvert[] = "Значение \"%s\" нельзя преобразовать в %s";
inline constexpr char kBadDate[] = "Недопустимая дата: %s";
inline constexpr char kBadBase64[] = "Некорректные данные Base64: %s";
inline constexpr char kAttrNotSet[] = "Не задан атрибут \"%s\"";
inline constexpr char kAttrNotFound[] = "Не найден атрибут \"%s\"";
inline constexpr char kBadEnumValue[] =
    "Неверное значение атрибута \"%s\" элемента \"%s\".\r\nДопустимые значения:\r\n%s";

// Binary form.
inline constexpr char kBinaryWriteValueType[] = "Ошибка записи значения: некорректный тип.";
inline constexpr char kBinaryReadValueType[] = "Ошибка чтения значения: некорректный тип.";
inline constexpr char kBinaryWriteNodeType[] = "Ошибка записи двоичного XML: некорректный тип узла";
inline constexpr char kBinaryReadNodeType[] = "Ошибка чтения двоичного XML: некорректный тип узла";
inline constexpr char kBinaryReadData[] = "Ошибка чтения данных.";
inline constexpr char kBinaryBadNameTable[] =
    "Ошибка чтения двоичного XML: некорректная таблица имён";
inline constexpr char kBinaryBadNameID[] =
    "Ошибка чтения двоичного XML: некорректный идентификатор имени %d";

}  // namespace rv::xml_messages
