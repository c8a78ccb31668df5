Sub Deep(n)
  If n = 0 Then
    Err.Raise 9
  End If
  Deep n - 1
End Sub
Deep 3
