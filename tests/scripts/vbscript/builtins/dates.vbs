' Dates from literals and functions, on fixed dates only, written as an
' English (United States) system writes them.
d = #1/15/2020#
WScript.Echo TypeName(d), CStr(d), Year(d), Month(d), Day(d), Weekday(d)
t = #1/15/2020 3:04:05 PM#
WScript.Echo CStr(t), Hour(t), Minute(t), Second(t)
WScript.Echo CStr(#3:30:00 PM#), CStr(#15:30#), CStr(#12/31/1999 11:59:59 PM#)
WScript.Echo CDbl(#1/1/2000#), CDbl(#12/30/1899#), CDbl(#12/31/1899#)
WScript.Echo CStr(DateSerial(2020, 2, 30)), CStr(DateSerial(2021, 13, 1)), CStr(DateSerial(2020, 3, 0))
WScript.Echo CStr(TimeSerial(15, 4, 5)), CStr(TimeSerial(0, 90, 0))
WScript.Echo CStr(DateAdd("d", 30, d)), CStr(DateAdd("m", 1, #1/31/2020#)), CStr(DateAdd("yyyy", 1, #2/29/2020#))
WScript.Echo CStr(DateAdd("h", 25, d)), CStr(DateAdd("n", -1, d)), CStr(DateAdd("ww", 2, d))
WScript.Echo DateDiff("d", #1/1/2020#, #12/31/2020#), DateDiff("m", #1/31/2020#, #2/1/2020#), DateDiff("yyyy", #12/31/2019#, #1/1/2020#)
WScript.Echo DateDiff("h", #1/1/2020#, #1/2/2020 6:00:00 AM#), DateDiff("d", #1/10/2020#, #1/1/2020#)
WScript.Echo DatePart("q", #5/1/2020#), DatePart("yyyy", d), DatePart("y", #2/1/2020#), DatePart("w", d)
WScript.Echo MonthName(1), MonthName(12, True), WeekdayName(1), WeekdayName(7, True)
WScript.Echo FormatDateTime(t, vbShortDate), FormatDateTime(t, vbLongDate)
WScript.Echo FormatDateTime(t, vbLongTime), FormatDateTime(t, vbShortTime)
WScript.Echo CStr(d + 1), TypeName(d + 1), #1/16/2020# - d
WScript.Echo CStr(DateValue("1/15/2020 3:00:00 PM")), CStr(TimeValue("1/15/2020 3:00:00 PM"))
WScript.Echo CStr(CDate("February 3, 2021")), IsDate("1/15/2020"), IsDate("hello"), IsDate(d)
WScript.Echo d = #1/15/2020#, d < #1/16/2020#
