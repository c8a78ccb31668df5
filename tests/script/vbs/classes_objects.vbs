Class Person
  Private m_name, m_friend
  Public Default Property Get Name : Name = m_name : End Property
  Public Property Let Name(v) : m_name = v : End Property
  Public Property Get Friend : Set Friend = m_friend : End Property
  Public Property Set Friend(p) : Set m_friend = p : End Property
  Public Function Greet(other) : Greet = m_name & " greets " & other.Name : End Function
  Public Function Self : Set Self = Me : End Function
End Class
Function MakePerson(n)
  Dim p : Set p = New Person : p.Name = n
  Set MakePerson = p
End Function
Set a = MakePerson("Ann")
Set b = MakePerson("Bob")
Set a.Friend = b
WScript.Echo a, a.Friend, a.Greet(b), a.Self Is a, TypeName(a.Friend)
WScript.Echo "Hi " & a, Len(a), UCase(b)
Dim people(1)
Set people(0) = a : Set people(1) = b
For Each p In people : WScript.Echo p.Name : Next
On Error Resume Next
Set c = a.Friend.Friend
WScript.Echo IsEmpty(c), Err.Number
Err.Clear
x = a.Friend.Friend.Name
WScript.Echo Err.Number
Err.Clear
a.Name2 = 1
WScript.Echo Err.Number
Err.Clear
Set q = New Unknown
WScript.Echo Err.Number
