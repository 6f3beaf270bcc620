' Drives QuillonCtl through its dispatch interface as a script host does: created by ProgID,
' never shown, so no plot is ever loaded. Prints one line per failed check and ends with the
' line "QUILLON-SCRIPT-END checks=N failures=N"; a script that stops early never prints it.
Option Explicit

Const E_FAIL = &H80004005
Dim checks, failures, ctl
checks = 0
failures = 0

Sub Check(ok, what)
  checks = checks + 1
  If Not ok Then
    failures = failures + 1
    WScript.Echo "FAIL " & what
  End If
End Sub

' Checks the error the statement before raised (0 when none) and clears it. Wine's VBScript
' has no Execute, so each statement is written out with error trapping on.
Sub Raised(expected, what)
  Dim number
  number = Err.Number
  Err.Clear
  Check number = expected, what & " raised " & Hex(number)
End Sub

Set ctl = CreateObject("QuillonCtl.QuillonCtl")
Check TypeName(ctl) = "IQuillonCtl", "TypeName is " & TypeName(ctl)

' Initial values.
Check ctl.DataFileName = " ", "initial DataFileName [" & ctl.DataFileName & "]"
Check ctl.Rot = 270, "initial Rot " & ctl.Rot
Check ctl.ViewScale = 0, "initial ViewScale " & ctl.ViewScale
Check ctl.xOrg = 0 And ctl.yOrg = 0, "initial origin"
Check ctl.PlotSilent = 0, "initial PlotSilent"

' Every entry that needs a plot answers E_FAIL while none is loaded.
Dim value
On Error Resume Next
ctl.Plot 0 : Raised E_FAIL, "Plot 0"
ctl.Plot 1 : Raised E_FAIL, "Plot 1"
ctl.Scale 2 : Raised E_FAIL, "Scale"
ctl.ScaleDown 2 : Raised E_FAIL, "ScaleDown"
ctl.Fit : Raised E_FAIL, "Fit"
ctl.PanLeft : Raised E_FAIL, "PanLeft"
ctl.PanRight : Raised E_FAIL, "PanRight"
ctl.PanUp : Raised E_FAIL, "PanUp"
ctl.PanDown : Raised E_FAIL, "PanDown"
ctl.RotateLeft : Raised E_FAIL, "RotateLeft"
ctl.RotateRight : Raised E_FAIL, "RotateRight"
ctl.ScaleIt 2 : Raised E_FAIL, "ScaleIt"
ctl.Copy : Raised E_FAIL, "Copy"
ctl.PrinterName = "P" : Raised E_FAIL, "PrinterName put"
ctl.FormName = "A4" : Raised E_FAIL, "FormName put"
ctl.Portrait_Landscape = 2 : Raised E_FAIL, "Portrait_Landscape put"
ctl.PrintScaleOptions = 2 : Raised E_FAIL, "PrintScaleOptions put"
ctl.PlotWithForm 10, 20 : Raised E_FAIL, "PlotWithForm"
ctl.PlotToForm : Raised E_FAIL, "PlotToForm"
ctl.PrintScalePercentage = 150 : Raised E_FAIL, "PrintScalePercentage put"
value = ctl.PrinterName : Raised E_FAIL, "PrinterName get"
value = ctl.FormName : Raised E_FAIL, "FormName get"
value = ctl.Portrait_Landscape : Raised E_FAIL, "Portrait_Landscape get"
value = ctl.PrintScaleOptions : Raised E_FAIL, "PrintScaleOptions get"
value = ctl.PrintScalePercentage : Raised E_FAIL, "PrintScalePercentage get"
value = ctl.KpzXSize : Raised E_FAIL, "KpzXSize get"
value = ctl.KpzYSize : Raised E_FAIL, "KpzYSize get"
value = ctl.KpzResolution : Raised E_FAIL, "KpzResolution get"
On Error GoTo 0
' The failure carries its text for the script.
On Error Resume Next
ctl.Fit
Check Err.Description = "No plot is loaded.", "description [" & Err.Description & "]"
Check Err.Source = "QuillonCtl.QuillonCtl.1", "source [" & Err.Source & "]"
Err.Clear
On Error GoTo 0
' None of them changed the view.
Check ctl.Rot = 270 And ctl.xOrg = 0 And ctl.yOrg = 0 And ctl.ViewScale = 0, "view after refusals"

' Rot takes only quarter turns.
On Error Resume Next
ctl.Rot = 45 : Raised E_FAIL, "Rot = 45"
On Error GoTo 0
Check ctl.Rot = 270, "Rot after 45 is " & ctl.Rot
Dim turn
For Each turn In Array(0, 90, 180, 270)
  ctl.Rot = turn
  Check ctl.Rot = turn, "Rot put " & turn & " reads " & ctl.Rot
Next
ctl.Rot = 90
On Error Resume Next
For Each turn In Array(-90, 1, 360, 271)
  ctl.Rot = turn : Raised E_FAIL, "Rot = " & turn
Next
On Error GoTo 0
Check ctl.Rot = 90, "Rot after refused turns " & ctl.Rot

' The view properties store what is put.
ctl.ViewScale = 0.125
Check ctl.ViewScale = 0.125, "ViewScale " & ctl.ViewScale
ctl.xOrg = -400.5
Check ctl.xOrg = -400.5, "xOrg " & ctl.xOrg
ctl.yOrg = 12.25
Check ctl.yOrg = 12.25, "yOrg " & ctl.yOrg
ctl.PlotSilent = 1
Check ctl.PlotSilent = 1, "PlotSilent " & ctl.PlotSilent
ctl.PlotSilent = 0
Check ctl.PlotSilent = 0, "PlotSilent back to 0"

' The page size setters take anything and change nothing.
On Error Resume Next
ctl.KpzXSize = 123 : Raised 0, "KpzXSize put"
ctl.KpzYSize = 4.5 : Raised 0, "KpzYSize put"
ctl.KpzResolution = 1 : Raised 0, "KpzResolution put"
value = ctl.KpzXSize : Raised E_FAIL, "KpzXSize get after put"
' ReDraw never fails, not even without a window.
ctl.ReDraw : Raised 0, "ReDraw"
On Error GoTo 0

' A new name resets the view but keeps nothing else from before.
ctl.DataFileName = "C:\plans\no such plan.kpz"
Check ctl.DataFileName = "C:\plans\no such plan.kpz", "DataFileName [" & ctl.DataFileName & "]"
Check ctl.Rot = 270, "Rot after DataFileName " & ctl.Rot
Check ctl.xOrg = 0 And ctl.yOrg = 0 And ctl.ViewScale = 0, "view after DataFileName"
ctl.DataFileName = "http://plans.example/site plan.kpz"
Check ctl.DataFileName = "http://plans.example/site plan.kpz", "URL name"
ctl.DataFileName = ""
Check ctl.DataFileName = "", "empty name"
' Putting the name does not open it: methods still refuse.
On Error Resume Next
ctl.Fit : Raised E_FAIL, "Fit after DataFileName"
On Error GoTo 0

' Strings and numbers arrive converted as any script passes them.
ctl.ViewScale = "0.5"
Check ctl.ViewScale = 0.5, "ViewScale from text"
ctl.Rot = "180"
Check ctl.Rot = 180, "Rot from text"

Set ctl = Nothing
WScript.Echo "QUILLON-SCRIPT-END checks=" & checks & " failures=" & failures
WScript.Quit failures
