WScript.Echo "中文", Len("中文"), Asc("啊")
WScript.Echo Chr(&HB0A1) = "啊"
