d = DateSerial(2024, 1, 31)
WScript.Echo d, Year(d), Month(d), Day(d), Weekday(d), WeekdayName(Weekday(d)), MonthName(1), WeekdayName(1, True)
WScript.Echo DateAdd("m", 1, d), DateAdd("d", 1, d), DateAdd("yyyy", -1, #2/29/2024#), DateAdd("h", 25, d), DateAdd("n", -1, d)
WScript.Echo DateDiff("d", #1/1/2024#, #3/1/2024#), DateDiff("m", #1/31/2024#, #2/1/2024#), DateDiff("yyyy", #12/31/2023#, #1/1/2024#), DateDiff("h", #1/1/2024 10:59:00#, #1/1/2024 11:00:00#), DateDiff("d", #3/1/2024#, #1/1/2024#)
WScript.Echo DatePart("q", d), DatePart("y", #2/1/2024#), TimeSerial(13, 5, 9), DateSerial(2024, 13, 1), DateSerial(2024, 3, 0), DateSerial(99, 1, 1)
t = #2024-03-05 14:07:08#
WScript.Echo FormatDateTime(t, 1), FormatDateTime(t, 2), FormatDateTime(t, 3), FormatDateTime(t, 4), FormatDateTime(t)
WScript.Echo CDate("2024-03-05") + 1, Hour(t), Minute(t), Second(t), TypeName(#1/1/2000#), #12:30:00 PM#
WScript.Echo IsDate("2024-02-30"), IsDate("2024-02-29"), IsDate("hello"), DateValue("2024/5/6"), TimeValue("8:05:00 PM")
WScript.Echo TypeName(Now), TypeName(Date), TypeName(Time), TypeName(Timer), Date = Int(Now)
WScript.Echo CDbl(#1/1/2000#), CDate(36526.5), Weekday(#1/1/2000#, vbMonday)
