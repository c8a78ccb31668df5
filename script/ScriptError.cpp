#include "ScriptError.h"

#include <QHash>

void throwScriptError(int number, const QString &description)
{
    throw ScriptException{number, description, QString()};
}

namespace ScriptErrors {

QString description(int number)
{
    static const QHash<int, QString> texts = {
        {5, QStringLiteral("无效的过程调用或参数")},
        {6, QStringLiteral("溢出")},
        {7, QStringLiteral("内存不够")},
        {9, QStringLiteral("下标越界")},
        {10, QStringLiteral("该数组为定长的或临时被锁定")},
        {11, QStringLiteral("被零除")},
        {13, QStringLiteral("类型不匹配")},
        {14, QStringLiteral("字符串空间不够")},
        {17, QStringLiteral("不能执行所需的操作")},
        {28, QStringLiteral("堆栈溢出")},
        {35, QStringLiteral("未定义 Sub 或 Function")},
        {48, QStringLiteral("加载 DLL 时出错")},
        {51, QStringLiteral("内部错误")},
        {52, QStringLiteral("错误的文件名或号码")},
        {53, QStringLiteral("文件未找到")},
        {54, QStringLiteral("错误的文件模式")},
        {55, QStringLiteral("文件已打开")},
        {57, QStringLiteral("设备 I/O 错误")},
        {58, QStringLiteral("文件已存在")},
        {61, QStringLiteral("磁盘已满")},
        {62, QStringLiteral("输入超出文件尾")},
        {67, QStringLiteral("文件过多")},
        {68, QStringLiteral("设备不可用")},
        {70, QStringLiteral("没有权限")},
        {71, QStringLiteral("磁盘未准备好")},
        {74, QStringLiteral("不能用其他磁盘机重命名")},
        {75, QStringLiteral("路径/文件访问错误")},
        {76, QStringLiteral("路径未找到")},
        {91, QStringLiteral("对象变量未设置")},
        {92, QStringLiteral("For 循环未初始化")},
        {94, QStringLiteral("无效使用 Null")},
        {322, QStringLiteral("不能创建所需的临时文件")},
        {424, QStringLiteral("缺少对象")},
        {429, QStringLiteral("ActiveX 部件不能创建对象")},
        {430, QStringLiteral("类不支持自动化操作")},
        {432, QStringLiteral("在自动化操作中找不到文件名或类名")},
        {438, QStringLiteral("对象不支持此属性或方法")},
        {440, QStringLiteral("自动化操作错误")},
        {445, QStringLiteral("对象不支持此操作")},
        {446, QStringLiteral("对象不支持命名参数")},
        {447, QStringLiteral("对象不支持当前区域设置")},
        {448, QStringLiteral("未找到命名参数")},
        {449, QStringLiteral("参数是必选项")},
        {450, QStringLiteral("错误的参数个数或无效的参数属性值")},
        {451, QStringLiteral("对象不是一个集合")},
        {453, QStringLiteral("指定的 DLL 函数未找到")},
        {455, QStringLiteral("代码资源锁定错误")},
        {457, QStringLiteral("该关键字已经与该集合的一个元素相关联")},
        {458, QStringLiteral("变量使用了一个 VBScript 中不支持的自动化类型")},
        {462, QStringLiteral("远程服务器机器不存在或不可用")},
        {481, QStringLiteral("无效图片")},
        {500, QStringLiteral("变量未定义")},
        {501, QStringLiteral("非法赋值")},
        {502, QStringLiteral("对象不能安全地用于脚本编程")},
        {503, QStringLiteral("对象不能安全地初始化")},
        {504, QStringLiteral("对象不能安全地创建")},
        {505, QStringLiteral("无效的或不合格的引用")},
        {506, QStringLiteral("类没有被定义")},
        {507, QStringLiteral("出现一个意外错误")},
        {1001, QStringLiteral("内存不够")},
        {1002, QStringLiteral("语法错误")},
        {1003, QStringLiteral("缺少 ':'")},
        {1005, QStringLiteral("缺少 '('")},
        {1006, QStringLiteral("缺少 ')'")},
        {1007, QStringLiteral("缺少 ']'")},
        {1010, QStringLiteral("缺少标识符")},
        {1011, QStringLiteral("缺少 '='")},
        {1012, QStringLiteral("缺少 'If'")},
        {1013, QStringLiteral("缺少 'To'")},
        {1014, QStringLiteral("缺少 'End'")},
        {1015, QStringLiteral("缺少 'Function'")},
        {1016, QStringLiteral("缺少 'Sub'")},
        {1017, QStringLiteral("缺少 'Then'")},
        {1018, QStringLiteral("缺少 'Wend'")},
        {1019, QStringLiteral("缺少 'Loop'")},
        {1020, QStringLiteral("缺少 'Next'")},
        {1021, QStringLiteral("缺少 'Case'")},
        {1022, QStringLiteral("缺少 'Select'")},
        {1023, QStringLiteral("缺少表达式")},
        {1024, QStringLiteral("缺少语句")},
        {1025, QStringLiteral("缺少语句结束")},
        {1026, QStringLiteral("缺少整型常数")},
        {1027, QStringLiteral("缺少 'While' 或 'Until'")},
        {1028, QStringLiteral("缺少 'While'、'Until' 或语句结束")},
        {1029, QStringLiteral("缺少 'With'")},
        {1030, QStringLiteral("标识符太长")},
        {1031, QStringLiteral("无效数字")},
        {1032, QStringLiteral("无效字符")},
        {1033, QStringLiteral("未结束的字符串常量")},
        {1034, QStringLiteral("未结束的注释")},
        {1037, QStringLiteral("无效使用关键字 'Me'")},
        {1038, QStringLiteral("'loop' 语句缺少 'do'")},
        {1039, QStringLiteral("无效的 'exit' 语句")},
        {1040, QStringLiteral("无效的 'for' 循环控制变量")},
        {1041, QStringLiteral("名称重定义")},
        {1042, QStringLiteral("必须是行的第一个语句")},
        {1043, QStringLiteral("不能赋值给非 ByVal 参数")},
        {1044, QStringLiteral("调用 Sub 时不能使用括号")},
        {1045, QStringLiteral("缺少文字常数")},
        {1046, QStringLiteral("缺少 'In'")},
        {1047, QStringLiteral("缺少 'Class'")},
        {1048, QStringLiteral("必须在一个类的内部定义")},
        {1049, QStringLiteral("在属性声明中缺少 Let，Set 或 Get")},
        {1050, QStringLiteral("缺少 'Property'")},
        {1051, QStringLiteral("在所有属性的规范中，参数的数目必须一致")},
        {1052, QStringLiteral("在一个类中不能有多个缺省的属性/方法")},
        {1053, QStringLiteral("类初始化或终止不能带参数")},
        {1054, QStringLiteral("Property Let 或 Set 至少应该有一个参数")},
        {1055, QStringLiteral("不需要的 'Next'")},
        {1057, QStringLiteral("'Default' 说明必须同时说明 'Public'")},
        {1058, QStringLiteral("只能在 Property Get 中指定 'Default'")},
        {5016, QStringLiteral("缺少正则表达式对象")},
        {5017, QStringLiteral("正则表达式语法错误")},
        {5018, QStringLiteral("错误的数量词")},
        {5019, QStringLiteral("正则表达式中缺少 ']'")},
        {5020, QStringLiteral("正则表达式中缺少 ')'")},
        {5021, QStringLiteral("字符集越界")},
        {32811, QStringLiteral("元素未找到")},
        {Timeout, QStringLiteral("脚本运行超时，已被终止")},
        {Aborted, QStringLiteral("脚本引擎已被重置，操作已中止")},
    };
    return texts.value(number);
}

QString runtimeSource()
{
    return QStringLiteral("Microsoft VBScript 运行时错误");
}

QString compilerSource()
{
    return QStringLiteral("Microsoft VBScript 编译器错误");
}

} // namespace ScriptErrors
