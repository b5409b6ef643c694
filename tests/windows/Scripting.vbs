' Run by the platform's script host after zorvaxp.dll is registered:
'   cscript //nologo Scripting.vbs
' Creates the file-system class, the list's row class and controls by program identifier, calls
' their members by name and checks the answers. Exits with the number of failed checks.
Option Explicit

Dim failures
failures = 0

Sub Check(ok, what)
  If Not ok Then
    WScript.Echo "check failed: " & what
    failures = failures + 1
  End If
End Sub

' ---- The file-system class ----
Dim files, folder
Set files = CreateObject("ZorvaXPProject.clsFileSystemObj")
folder = files.GetTempoaryFolderPath()
Check Len(folder) > 3 And Right(folder, 1) = "\", "the temporary folder ends in a separator: " & folder
Check files.FolderExists(Left(folder, Len(folder) - 1)), "the temporary folder exists"
Check Not files.FolderExists(folder & "no-such-entry"), "a missing entry does not"
Check files.GetFileTitle("C:\a\b\name.txt") = "name.txt", "GetFileTitle"

' ---- A row of the list's data model ----
' A new row has no cells until a list gives it columns; its other fields are its own.
Dim row
Set row = CreateObject("ZorvaXPProject.clsLItem")
row.ItemData = 42
Check row.ItemData = 42, "ItemData"
row.iValue = True
Check row.iValue, "iValue"
On Error Resume Next
row.iCell(1) = "first"
Check Err.Number = 9, "a new row has no cell 1: raised " & Err.Number
Err.Clear
On Error GoTo 0

' ---- Controls ----
Dim button
Set button = CreateObject("ZorvaXPProject.ZorvaXPButton")
button.Caption = "From a script"
Check button.Caption = "From a script", "the button's caption"
button.Enabled = False
Check button.Enabled = False, "the button is disabled"

Dim list, items, found
Set list = CreateObject("ZorvaXPProject.ZorvaXPListBox")
list.AddNewColumn "Name"
list.AddNewColumn "Size"
items = Array("alpha", "beta", "gamma")
Check list.AddItemsByArray(items), "AddItemsByArray"
Check list.TextMatrix(2, 1) = "beta", "TextMatrix(2, 1)"
list.TextMatrix(2, 2) = "big"
Check list.Item(2).iCell(2) = "big", "a row object of the list"
found = list.FindItem("GAMMA", 1, 1)
Check found = 3, "FindItem finds row 3, found " & found

' The grid exported to a file, which the file-system class then finds and deletes.
Dim path
path = folder & "zorvaxp-script.csv"
If files.FileExists(path) Then files.DeleteFile path
list.ExportToCsv path
Check files.FileExists(path), "the exported file exists"
Check files.GetFileSize(path) > 20, "and holds the rows: " & files.GetFileSize(path) & " bytes"
Check files.GetFileTitle(path) = "zorvaxp-script.csv", "its title"
Check files.DeleteFile(path), "it is deleted"
Check Not files.FileExists(path), "and is gone"

' A refused call raises the host's error number and description.
On Error Resume Next
Dim missing
Set missing = list.Item(99)
Check Err.Number = 9, "Item(99) raises 9, raised " & Err.Number
Check Err.Description = "Subscript out of range", "its description: " & Err.Description
Err.Clear
button.Enabled = "not a Boolean"
Check Err.Number = 13, "a text for a Boolean raises 13, raised " & Err.Number
Err.Clear
button.NoSuchMember = 1
Check Err.Number = 438, "an unknown member raises 438, raised " & Err.Number
On Error GoTo 0

Set row = Nothing
Set list = Nothing
Set button = Nothing
Set files = Nothing
If failures = 0 Then WScript.Echo "the script host created and drove the library's classes"
WScript.Quit failures
